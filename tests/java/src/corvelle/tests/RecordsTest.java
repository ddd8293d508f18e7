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
import java.util.List;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/** Records edited and read through the stand-in's own NIST file, and its error reporting. */
class RecordsTest {
    @BeforeEach
    void reset() {
        Standin.reset();
    }

    @Test
    void textComesBackAsItWentIn() {
        String value = "h\u00e9llo \u0000 \ud83d\ude00";
        assertEquals(0, Velmora.InsertRecordTxtField(2, 1, 5, "", value));
        assertEquals(value, Velmora.ReadRecordTxtField(2, 1, 5, ""));
        // The record library counts the modified UTF-8 bytes it holds: 1 + 2 + 4 + 2 + 1 + 6.
        assertEquals(16, Velmora.ReadSizeOfRecordTxtField(2, 1, 5, ""));
        assertEquals("2.005:" + value + "\n", Velmora.ReadRecordExportedTxtFields(2, 1));
        assertEquals(6 + 16 + 1, Velmora.ReadSizeOfRecordExportedTxtFields(2, 1));
    }

    @Test
    void namesAndDescriptionsOfTheHeader() {
        assertEquals("VER", Velmora.ReadRecordTxtFieldName(1, 1, 2));
        assertEquals(3, Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, ""));
        assertEquals("1.002: Version number", Velmora.ReadRecordTxtFieldDescription(1, 1, 2, ""));
        assertEquals(21, Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, ""));
        assertEquals("0502", Velmora.ReadRecordTxtField(1, 1, 2, ""));
    }

    @Test
    void recordsAreInsertedCountedAndDeleted() {
        assertEquals(0, Velmora.CheckIfRecordTypeExists(2));
        assertEquals(0, Velmora.InsertRecordTxtField(2, 1, 3, "", "one"));
        assertEquals(0, Velmora.InsertRecordTxtField(2, 2, 3, "", "two"));
        assertEquals(1, Velmora.CheckIfRecordTypeExists(2));
        assertEquals(2, Velmora.ReadNumberOfRecords(2));
        assertEquals(0, Velmora.DeleteRecord(2, 1));
        assertEquals(1, Velmora.ReadNumberOfRecords(2));
        assertEquals("two", Velmora.ReadRecordTxtField(2, 1, 3, ""));
        assertEquals(-1, Velmora.DeleteRecord(2, 5));
    }

    @Test
    void aBinaryFieldFromMemoryTakesTheGivenLengthOnly() {
        byte[] data = {9, 8, 7, 6, 5, 4};
        assertEquals(0, Velmora.InsertRecordBinaryFieldFromMemory(4, 1, data, 4, "RAW", 2, 2, 8));
        assertEquals(4, Velmora.ReadSizeOfRecordBinaryField(4, 1));
        assertArrayEquals(new byte[] {9, 8, 7, 6}, Velmora.ReadRecordBinaryField(4, 1));
        assertEquals("2", Velmora.ReadRecordTxtField(4, 1, 6, ""));
    }

    @Test
    void theEightValuesOfAMemoryInsertArriveInOrder() {
        Velmora.InsertRecordBinaryFieldFromMemory(14, 3, new byte[] {(byte) 0xAB, (byte) 0xCD, (byte) 0xEF}, 2, "WSQ20",
                -1, -300, Integer.MIN_VALUE);
        assertEquals(List.of("InsertRecordBinaryFieldFromMemory(14, 3, [ABCD], 2, \"WSQ20\", -1, -300, -2147483648)"),
                Standin.calls());
    }

    @Test
    void aBinaryFieldFromAFile(@TempDir Path dir) throws IOException {
        Path image = dir.resolve("\u00e9l\u00e9ment.raw");
        Files.write(image, new byte[] {1, 2, 3, 4, 5});
        assertEquals(0, Velmora.InsertRecordBinaryFieldFromFile(4, 1, image.toString()));
        assertArrayEquals(new byte[] {1, 2, 3, 4, 5}, Velmora.ReadRecordBinaryField(4, 1));
    }

    @Test
    void theReportModeGoesThroughBothWays() {
        // The stand-in answers with the mode it had before.
        assertEquals(0, Velmora.SetVelmoraErrorReportMode(Integer.MIN_VALUE));
        assertEquals(Integer.MIN_VALUE, Velmora.SetVelmoraErrorReportMode(-1));
        assertEquals(-1, Velmora.SetVelmoraErrorReportMode(Integer.MAX_VALUE));
        assertEquals(Integer.MAX_VALUE, Velmora.SetVelmoraErrorReportMode(0));
    }

    @Test
    void theLastErrorMessageIsANewStringOfTheCurrentText() {
        Standin.setLastError("first problem");
        String first = Velmora.ReadVelmoraLastErrorMessage();
        String again = Velmora.ReadVelmoraLastErrorMessage();
        assertEquals("first problem", first);
        assertEquals(first, again);
        assertNotSame(first, again);

        assertEquals(-1, Velmora.ReadIDCofRecord(9, 1));
        assertEquals("no record 1 of type 9", Velmora.ReadVelmoraLastErrorMessage());
    }

    @Test
    void theBridgeReportsNoErrorOfTheRecordLibrary() {
        assertEquals(-1, Velmora.ReadNISTFromFile("/nonexistent-velmora-dir/x.nist"));
        assertTrue(Velmora.ReadVelmoraLastErrorMessage().startsWith("cannot open "));
    }
}
