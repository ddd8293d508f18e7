package corvelle.tests;

import corvelle.Velmora;
import corvelle.testing.Standin;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;

/**
 * The child JVM of the soak: a million calls that mix every String and array method, with resident
 * memory read after a warm-up and at the end. Prints "calls N" and "rss-growth-kib K".
 */
public final class Soak {
    private Soak() {}

    static final int ARRAY_BYTES = 8192;
    static final int CALLS_PER_ROUND = 20;

    // About a hundred chars, a few beyond ASCII: the conversions' real work, not a fast path.
    static final String ITEM = "soak-\u00e9\u00e8-" + "x".repeat(90);
    static final String PATH = "/nonexistent-velmora-dir/" + ITEM;
    static final byte[] DATA = new byte[ARRAY_BYTES];
    static final int[] DIMENSIONS = new int[2];

    public static void main(String[] args) throws IOException {
        int calls = Integer.parseInt(args[0]);
        int warmUp = Integer.parseInt(args[1]);
        for (int i = 0; i < DATA.length; i++) DATA[i] = (byte) i;

        Standin.reset();
        // A valid modified UTF-8 result, one that must be decoded (a standard four-byte sequence), and ASCII.
        Standin.steerText("ReadRecordTxtField", "value-\u00e9-" + "v".repeat(90));
        Standin.steerText("ReadRecordTxtFieldName", "name-\ud83d\ude00-" + "n".repeat(90));
        Standin.steerText("ReadRecordTxtFieldDescription", "d".repeat(100));
        Standin.steerText("ReadRecordExportedTxtFields", "e".repeat(100));
        Standin.steerText("ReadVelmoraLastErrorMessage", "m".repeat(100));
        Standin.steerBytes("ReadNISTByteArray", DATA);
        Standin.steerInt("ReadSizeOfNISTByteArray", ARRAY_BYTES);
        Standin.steerBytes("ReadRecordBinaryField", DATA);
        Standin.steerInt("ReadSizeOfRecordBinaryField", ARRAY_BYTES);
        Standin.steerBitmap(32, 32, 24, new int[32 * 32]);

        // The rounds are one method, so that the JIT has compiled it for good during the warm-up:
        // a compiler's memory is resident memory too.
        long checksum = 0;
        for (int n = 0; n < warmUp; n += CALLS_PER_ROUND) checksum += round();
        long before = residentKib();
        for (int n = 0; n < calls; n += CALLS_PER_ROUND) checksum += round();
        long after = residentKib();
        System.out.println("calls " + calls);
        System.out.println("checksum " + checksum);
        System.out.println("rss-growth-kib " + (after - before));
    }

    static long round() {
        long sum = 0;
        sum += Velmora.ReadRecordTxtField(1, 1, 2, ITEM).length();
        sum += Velmora.ReadSizeOfRecordTxtField(1, 1, 2, ITEM);
        sum += Velmora.ReadRecordTxtFieldName(1, 1, 2).length();
        sum += Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, ITEM);
        sum += Velmora.ReadRecordTxtFieldDescription(1, 1, 2, ITEM).length();
        sum += Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, ITEM);
        sum += Velmora.ReadRecordExportedTxtFields(1, 1).length();
        sum += Velmora.ReadVelmoraLastErrorMessage().length();
        sum += Velmora.WriteNISTToFile(PATH);
        sum += Velmora.ReadNISTFromFile(PATH);
        sum += Velmora.InsertRecordBinaryFieldFromFile(2, 1, PATH);
        sum += Velmora.InsertRecordTxtField(2, 1, 3, ITEM, ITEM);
        sum += Velmora.ReadNISTFromMemory(DATA, DATA.length);
        sum += Velmora.InsertRecordBinaryFieldFromMemory(2, 1, DATA, DATA.length, ITEM, 1, 1, 8);
        sum += Velmora.ReadNISTByteArray().length;
        sum += Velmora.ReadRecordBinaryField(1, 1).length;
        // Four image calls: a memory device context, the smallest thing a call could leave behind,
        // must show within the million calls too.
        for (int i = 0; i < 4; i++) sum += Velmora.CreateHBITMAPfromRecordBinaryField(DIMENSIONS, 1, 1).length;
        return sum;
    }

    static long residentKib() throws IOException {
        for (String line : Files.readAllLines(Path.of("/proc/self/status"), StandardCharsets.US_ASCII))
            if (line.startsWith("VmRSS:")) return Long.parseLong(line.replaceAll("[^0-9]", ""));
        throw new IllegalStateException("no VmRSS in /proc/self/status");
    }
}
