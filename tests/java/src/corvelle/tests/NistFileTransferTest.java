package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotSame;
import static org.junit.jupiter.api.Assertions.assertTrue;

import corvelle.Velmora;
import corvelle.testing.Standin;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;
import java.util.List;
import java.util.Random;
import java.util.function.Supplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

/** Whole NIST files through files, byte arrays and the two byte-array reads. */
class NistFileTransferTest {
    @TempDir
    Path dir;

    @BeforeEach
    void reset() {
        Standin.reset();
    }

    /** The two byte-array reads: read function, size function, the call, and the calls it must make. */
    record ByteRead(String read, String size, Supplier<byte[]> call, List<String> calls) {
        @Override
        public String toString() {
            return read;
        }
    }

    static final List<ByteRead> BYTE_READS = List.of(
            new ByteRead("ReadNISTByteArray", "ReadSizeOfNISTByteArray", Velmora::ReadNISTByteArray,
                    List.of("ReadSizeOfNISTByteArray()", "ReadNISTByteArray()")),
            new ByteRead("ReadRecordBinaryField", "ReadSizeOfRecordBinaryField", () -> Velmora.ReadRecordBinaryField(-3, 7),
                    List.of("ReadSizeOfRecordBinaryField(-3, 7)", "ReadRecordBinaryField(-3, 7)")));

    static Stream<Arguments> exactlyTheSizeIsCopied() {
        return BYTE_READS.stream().flatMap(r -> Stream.of(0, 1, 5, 9, 10).map(n -> Arguments.of(r, n)));
    }

    /** The buffer holds ten bytes (and the stand-in's guard bytes after them); the size says how many count. */
    @ParameterizedTest(name = "{0}, size {1} of 10")
    @MethodSource
    void exactlyTheSizeIsCopied(ByteRead read, int size) {
        byte[] buffer = {1, -2, 3, -4, 5, -6, 7, -8, 9, -10};
        Standin.steerBytes(read.read(), buffer);
        Standin.steerInt(read.size(), size);
        byte[] result = read.call().get();
        assertArrayEquals(Arrays.copyOf(buffer, size), result);
        assertEquals(read.calls(), Standin.calls(), "size asked first, both called, the same arguments");
    }

    @ParameterizedTest
    @MethodSource("byteReads")
    void everyCallGivesANewArray(ByteRead read) {
        Standin.steerBytes(read.read(), new byte[] {1, 2, 3});
        Standin.steerInt(read.size(), 3);
        byte[] first = read.call().get();
        first[0] = 99;
        byte[] second = read.call().get();
        assertNotSame(first, second);
        assertArrayEquals(new byte[] {1, 2, 3}, second);
    }

    @ParameterizedTest
    @MethodSource("byteReads")
    void largeBuffersComeBackWhole(ByteRead read) {
        byte[] buffer = new byte[3 << 20];
        new Random(7).nextBytes(buffer);
        Standin.steerBytes(read.read(), buffer);
        Standin.steerInt(read.size(), buffer.length);
        assertArrayEquals(buffer, read.call().get());
    }

    static Stream<ByteRead> byteReads() {
        return BYTE_READS.stream();
    }

    @Test
    void theArrayHasTheSizeTheSizeMethodReports() {
        Velmora.InsertRecordTxtField(2, 1, 3, "", "some text");
        byte[] file = Velmora.ReadNISTByteArray();
        assertEquals(Velmora.ReadSizeOfNISTByteArray(), file.length);
        assertTrue(file.length > 20);
    }

    @Test
    void aFileTakenOutAsBytesReadsBackFromMemory() {
        Velmora.InsertRecordTxtField(2, 1, 3, "", "first");
        byte[] file = Velmora.ReadNISTByteArray();
        assertEquals(0, Velmora.CreateNewNISTFile());
        assertEquals(0, Velmora.ReadNumberOfRecords(2));

        assertEquals(0, Velmora.ReadNISTFromMemory(file, file.length));
        assertEquals(1, Velmora.ReadNumberOfRecords(2));
        assertEquals("first", Velmora.ReadRecordTxtField(2, 1, 3, ""));
        assertArrayEquals(file, Velmora.ReadNISTByteArray());
    }

    @Test
    void aShorterLengthReachesTheRecordLibraryUnchanged() {
        byte[] data = {1, 2, 3, 4, 5, 6, 7, 8};
        Velmora.ReadNISTFromMemory(data, 5);
        assertEquals(List.of("ReadNISTFromMemory([0102030405], 5)"), Standin.calls());
        assertArrayEquals(new byte[] {1, 2, 3, 4, 5, 6, 7, 8}, data, "the caller's array is not written");
    }

    /** BMP chars: their modified UTF-8 is plain UTF-8, so the file has the very name Java gives it. */
    @ParameterizedTest
    @ValueSource(strings = {"fa\u00e7ade-\u00fc.nist", "\u0436\u0443\u0440\u043d\u0430\u043b.nist", "\u8a18\u9332 \u20ac.nist"})
    void nonAsciiPathsAreWrittenAndReadBack(String name) throws IOException {
        Velmora.InsertRecordTxtField(2, 1, 3, "", "on disk");
        byte[] expected = Velmora.ReadNISTByteArray();
        Path file = dir.resolve(name);

        assertEquals(0, Velmora.WriteNISTToFile(file.toString()));
        assertArrayEquals(expected, Files.readAllBytes(file));

        Velmora.CreateNewNISTFile();
        assertEquals(0, Velmora.ReadNISTFromFile(file.toString()));
        assertEquals("on disk", Velmora.ReadRecordTxtField(2, 1, 3, ""));
    }

    /** A char beyond the BMP goes as its two surrogates; write and read agree on those bytes. */
    @Test
    void aPathBeyondTheBmpRoundTrips() throws IOException {
        Velmora.InsertRecordTxtField(2, 1, 3, "", "emoji");
        String path = dir.resolve("\ud83d\ude00.nist").toString();
        assertEquals(0, Velmora.WriteNISTToFile(path));
        try (Stream<Path> files = Files.list(dir)) {
            assertEquals(1, files.count());
        }
        Velmora.CreateNewNISTFile();
        assertEquals(0, Velmora.ReadNISTFromFile(path));
        assertEquals("emoji", Velmora.ReadRecordTxtField(2, 1, 3, ""));
    }
}
