import corvelle.Velmora;

import java.awt.image.BufferedImage;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import javax.imageio.ImageIO;

/**
 * The main job: builds a small NIST file through the bridge, reads every part of it back, writes it
 * to disk and reads it again, and saves its image field as a picture. Every native method is called.
 * Usage: java -Djava.library.path=BRIDGE_DIR -cp velmora.jar:. Demo OUTPUT_DIR
 */
public final class Demo {
    static final int TEXT = 2, IMAGE = 10;

    public static void main(String[] args) throws IOException {
        Path out = Path.of(args.length > 0 ? args[0] : "demo-output");
        Files.createDirectories(out);

        System.out.println("== a new NIST file");
        check("CreateNewNISTFile", Velmora.CreateNewNISTFile(), 0);
        check("InsertRecordTxtField 2.018", Velmora.InsertRecordTxtField(TEXT, 1, 18, "", "DOE, JANE"), 0);
        check("InsertRecordTxtField 2.020", Velmora.InsertRecordTxtField(TEXT, 1, 20, "", "Zürich, Genève"), 0);

        int width = 64, height = 48;
        byte[] rgb = gradient(width, height);
        check("InsertRecordBinaryFieldFromMemory", Velmora.InsertRecordBinaryFieldFromMemory(
                IMAGE, 1, rgb, rgb.length, "RAW", width, height, 24), 0);
        Path extra = out.resolve("extra-field.bin");
        Files.write(extra, "an extra binary field, read from a file".getBytes(StandardCharsets.US_ASCII));
        check("InsertRecordBinaryFieldFromFile", Velmora.InsertRecordBinaryFieldFromFile(IMAGE, 2, extra.toString()), 0);

        System.out.println("== records");
        for (int type : new int[] {1, TEXT, IMAGE, 4}) {
            System.out.printf("type %2d: present %d, records %d%n", type,
                    Velmora.CheckIfRecordTypeExists(type), Velmora.ReadNumberOfRecords(type));
        }
        System.out.println("IDC of record 2.1: " + Velmora.ReadIDCofRecord(TEXT, 1));

        System.out.println("== text fields of record 2.1");
        for (int field : new int[] {18, 20}) {
            System.out.printf("%s (%d chars): \"%s\" (%d bytes) - %s (%d bytes)%n",
                    Velmora.ReadRecordTxtFieldName(TEXT, 1, field),
                    Velmora.ReadSizeOfRecordTxtFieldName(TEXT, 1, field, ""),
                    Velmora.ReadRecordTxtField(TEXT, 1, field, ""),
                    Velmora.ReadSizeOfRecordTxtField(TEXT, 1, field, ""),
                    Velmora.ReadRecordTxtFieldDescription(TEXT, 1, field, ""),
                    Velmora.ReadSizeOfRecordTxtFieldDescription(TEXT, 1, field, ""));
        }
        System.out.printf("exported text fields (%d bytes):%n%s",
                Velmora.ReadSizeOfRecordExportedTxtFields(TEXT, 1), Velmora.ReadRecordExportedTxtFields(TEXT, 1));

        System.out.println("== binary fields");
        byte[] field = Velmora.ReadRecordBinaryField(IMAGE, 1);
        System.out.printf("image field: %d bytes (size %d), the same as inserted: %b%n", field.length,
                Velmora.ReadSizeOfRecordBinaryField(IMAGE, 1), Arrays.equals(field, rgb));
        System.out.println("field from file: \""
                + new String(Velmora.ReadRecordBinaryField(IMAGE, 2), StandardCharsets.US_ASCII) + "\"");

        int[] dimensions = new int[2];
        int[] pixels = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, IMAGE, 1);
        Path picture = out.resolve("image-field.png");
        writePng(picture, pixels, dimensions[0], dimensions[1]);
        System.out.printf("image field as pixels: %d x %d, top-left #%06X, bottom-right #%06X, saved as %s%n",
                dimensions[0], dimensions[1], pixels[0] & 0xFFFFFF, pixels[pixels.length - 1] & 0xFFFFFF, picture);

        System.out.println("== the record library's own errors");
        System.out.println("error report mode was " + Velmora.SetVelmoraErrorReportMode(1));
        System.out.println("DeleteRecord of a record that is not there: " + Velmora.DeleteRecord(TEXT, 9));
        System.out.println("last error message: \"" + Velmora.ReadVelmoraLastErrorMessage() + "\"");
        check("DeleteRecord 10.2", Velmora.DeleteRecord(IMAGE, 2), 0);

        System.out.println("== the file on disk and in memory");
        Path first = out.resolve("transaction-é.an2");
        check("WriteNISTToFile", Velmora.WriteNISTToFile(first.toString()), 0);
        byte[] onDisk = Files.readAllBytes(first);
        byte[] inMemory = Velmora.ReadNISTByteArray();
        System.out.printf("%s: %d bytes; ReadSizeOfNISTByteArray %d; ReadNISTByteArray %d bytes, the same: %b%n",
                first.getFileName(), onDisk.length, Velmora.ReadSizeOfNISTByteArray(), inMemory.length,
                Arrays.equals(onDisk, inMemory));

        check("CreateNewNISTFile", Velmora.CreateNewNISTFile(), 0);
        check("ReadNISTFromFile", Velmora.ReadNISTFromFile(first.toString()), 0);
        System.out.println("read back: text field 2.018 \"" + Velmora.ReadRecordTxtField(TEXT, 1, 18, "") + "\"");
        check("ReadNISTFromMemory", Velmora.ReadNISTFromMemory(inMemory, inMemory.length), 0);
        Path second = out.resolve("transaction-copy.an2");
        check("WriteNISTToFile", Velmora.WriteNISTToFile(second.toString()), 0);
        boolean same = Arrays.equals(onDisk, Files.readAllBytes(second));
        System.out.println("written again from memory as " + second.getFileName() + ", identical: " + same);
        if (!same) throw new AssertionError("the second file differs from the first");
    }

    static void check(String call, int result, int expected) {
        System.out.printf("%s: %d%n", call, result);
        if (result != expected) throw new AssertionError(call + " returned " + result);
    }

    static byte[] gradient(int width, int height) {
        byte[] rgb = new byte[width * height * 3];
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                int i = 3 * (y * width + x);
                rgb[i] = (byte) (255 * x / (width - 1));
                rgb[i + 1] = (byte) (255 * y / (height - 1));
                rgb[i + 2] = (byte) 160;
            }
        }
        return rgb;
    }

    static void writePng(Path path, int[] pixels, int width, int height) throws IOException {
        BufferedImage image = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        image.setRGB(0, 0, width, height, pixels, 0, width);
        ImageIO.write(image, "png", path.toFile());
    }
}
