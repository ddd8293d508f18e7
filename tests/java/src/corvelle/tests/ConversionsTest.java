package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;

import corvelle.Velmora;
import corvelle.testing.Standin;
import java.nio.charset.StandardCharsets;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.function.IntSupplier;
import java.util.function.Supplier;
import java.util.stream.IntStream;
import java.util.stream.Stream;
import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** Ints, Strings and their results as the record library sees them, for every native method. */
class ConversionsTest {
    static final int MIN = Integer.MIN_VALUE;
    static final int MAX = Integer.MAX_VALUE;

    @BeforeEach
    void reset() {
        Standin.reset();
    }

    /** Each method with arguments that tell every position apart, and what the record library got. */
    static Stream<Arguments> argumentsAsReceived() {
        return Stream.of(
                received(Velmora::CreateNewNISTFile, "CreateNewNISTFile()"),
                received(() -> Velmora.WriteNISTToFile("/nonexistent/\u00e9\u0000"),
                        "WriteNISTToFile(\"/nonexistent/\\xC3\\xA9\\xC0\\x80\")"),
                received(() -> Velmora.ReadNISTFromFile("/nonexistent/\u00fc"), "ReadNISTFromFile(\"/nonexistent/\\xC3\\xBC\")"),
                received(() -> Velmora.ReadNISTFromMemory(new byte[] {0x31, 0, (byte) 0xFF}, 3),
                        "ReadNISTFromMemory([3100FF], 3)"),
                received(Velmora::ReadSizeOfNISTByteArray, "ReadSizeOfNISTByteArray()"),
                received(Velmora::ReadNISTByteArray, "ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"),
                received(() -> Velmora.CheckIfRecordTypeExists(MIN), "CheckIfRecordTypeExists(-2147483648)"),
                received(() -> Velmora.ReadNumberOfRecords(MAX), "ReadNumberOfRecords(2147483647)"),
                received(() -> Velmora.ReadIDCofRecord(-1, 7), "ReadIDCofRecord(-1, 7)"),
                received(() -> Velmora.ReadRecordTxtField(MIN, MAX, -1, "a\u0000b"),
                        "ReadRecordTxtField(-2147483648, 2147483647, -1, \"a\\xC0\\x80b\")"),
                received(() -> Velmora.ReadSizeOfRecordTxtField(3, 2, 1, "\u00e9"),
                        "ReadSizeOfRecordTxtField(3, 2, 1, \"\\xC3\\xA9\")"),
                received(() -> Velmora.ReadRecordTxtFieldName(MAX, 0, MIN),
                        "ReadRecordTxtFieldName(2147483647, 0, -2147483648)"),
                received(() -> Velmora.ReadSizeOfRecordTxtFieldName(1, 2, 3, "name"),
                        "ReadSizeOfRecordTxtFieldName(1, 2, 3, \"name\")"),
                received(() -> Velmora.ReadRecordTxtFieldDescription(4, 5, 6, "\ud83d\ude00"),
                        "ReadRecordTxtFieldDescription(4, 5, 6, \"\\xED\\xA0\\xBD\\xED\\xB8\\x80\")"),
                received(() -> Velmora.ReadSizeOfRecordTxtFieldDescription(-4, -5, -6, ""),
                        "ReadSizeOfRecordTxtFieldDescription(-4, -5, -6, \"\")"),
                received(() -> Velmora.ReadRecordExportedTxtFields(-5, 6), "ReadRecordExportedTxtFields(-5, 6)"),
                received(() -> Velmora.ReadSizeOfRecordExportedTxtFields(6, -5), "ReadSizeOfRecordExportedTxtFields(6, -5)"),
                received(() -> Velmora.ReadRecordBinaryField(MIN, MAX),
                        "ReadSizeOfRecordBinaryField(-2147483648, 2147483647)", "ReadRecordBinaryField(-2147483648, 2147483647)"),
                received(() -> Velmora.ReadSizeOfRecordBinaryField(MAX, MIN),
                        "ReadSizeOfRecordBinaryField(2147483647, -2147483648)"),
                received(() -> Velmora.CreateHBITMAPfromRecordBinaryField(new int[2], -2, 3),
                        "CreateHBITMAPfromRecordBinaryField(-2, 3)"),
                received(() -> Velmora.InsertRecordBinaryFieldFromFile(4, -4, "/nonexistent/\u0416"),
                        "InsertRecordBinaryFieldFromFile(4, -4, \"/nonexistent/\\xD0\\x96\")"),
                received(() -> Velmora.InsertRecordBinaryFieldFromMemory(MIN, MAX, new byte[] {0x10, 0x20, 0x30, 0x40}, 4,
                                "f\u00e9", -6, -7, MIN),
                        "InsertRecordBinaryFieldFromMemory(-2147483648, 2147483647, [10203040], 4, \"f\\xC3\\xA9\", -6, -7, -2147483648)"),
                received(() -> Velmora.InsertRecordTxtField(2, 3, 4, "item", "valu\u00e9"),
                        "InsertRecordTxtField(2, 3, 4, \"item\", \"valu\\xC3\\xA9\")"),
                received(() -> Velmora.DeleteRecord(9, -9), "DeleteRecord(9, -9)"),
                received(() -> Velmora.SetVelmoraErrorReportMode(MIN), "SetVelmoraErrorReportMode(-2147483648)"),
                received(Velmora::ReadVelmoraLastErrorMessage, "ReadVelmoraLastErrorMessage()"));
    }

    @ParameterizedTest(name = "{1}")
    @MethodSource
    void argumentsAsReceived(Supplier<Object> call, String firstCall, List<String> calls) {
        call.get();
        assertEquals(calls, Standin.calls());
    }

    /** Every method that returns an int, with plain arguments. */
    static final Map<String, IntSupplier> INT_METHODS = new LinkedHashMap<>();

    static {
        INT_METHODS.put("CreateNewNISTFile", Velmora::CreateNewNISTFile);
        INT_METHODS.put("WriteNISTToFile", () -> Velmora.WriteNISTToFile(NativeCalls.NO_SUCH_PATH));
        INT_METHODS.put("ReadNISTFromFile", () -> Velmora.ReadNISTFromFile(NativeCalls.NO_SUCH_PATH));
        INT_METHODS.put("ReadNISTFromMemory", () -> Velmora.ReadNISTFromMemory(new byte[1], 1));
        INT_METHODS.put("ReadSizeOfNISTByteArray", Velmora::ReadSizeOfNISTByteArray);
        INT_METHODS.put("CheckIfRecordTypeExists", () -> Velmora.CheckIfRecordTypeExists(2));
        INT_METHODS.put("ReadNumberOfRecords", () -> Velmora.ReadNumberOfRecords(2));
        INT_METHODS.put("ReadIDCofRecord", () -> Velmora.ReadIDCofRecord(2, 1));
        INT_METHODS.put("ReadSizeOfRecordTxtField", () -> Velmora.ReadSizeOfRecordTxtField(1, 1, 2, ""));
        INT_METHODS.put("ReadSizeOfRecordTxtFieldName", () -> Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, ""));
        INT_METHODS.put("ReadSizeOfRecordTxtFieldDescription",
                () -> Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, ""));
        INT_METHODS.put("ReadSizeOfRecordExportedTxtFields", () -> Velmora.ReadSizeOfRecordExportedTxtFields(1, 1));
        INT_METHODS.put("ReadSizeOfRecordBinaryField", () -> Velmora.ReadSizeOfRecordBinaryField(1, 1));
        INT_METHODS.put("InsertRecordBinaryFieldFromFile",
                () -> Velmora.InsertRecordBinaryFieldFromFile(2, 1, NativeCalls.NO_SUCH_PATH));
        INT_METHODS.put("InsertRecordBinaryFieldFromMemory",
                () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, new byte[1], 1, "RAW", 1, 1, 8));
        INT_METHODS.put("InsertRecordTxtField", () -> Velmora.InsertRecordTxtField(2, 1, 3, "", "x"));
        INT_METHODS.put("DeleteRecord", () -> Velmora.DeleteRecord(2, 1));
        INT_METHODS.put("SetVelmoraErrorReportMode", () -> Velmora.SetVelmoraErrorReportMode(0));
    }

    static Stream<Arguments> intResultsPassUnchanged() {
        return INT_METHODS.keySet().stream()
                .flatMap(method -> IntStream.of(MIN, -1, 0, 1, 256, MAX).mapToObj(v -> Arguments.of(method, v)));
    }

    @ParameterizedTest(name = "{0} returns {1}")
    @MethodSource
    void intResultsPassUnchanged(String method, int value) {
        Standin.steerInt(method, value);
        assertEquals(value, INT_METHODS.get(method).getAsInt());
    }

    /** Java Strings and the modified UTF-8 bytes that the record library must receive for them. */
    static Stream<Arguments> stringArgumentsAsModifiedUtf8() {
        return Stream.of(
                Arguments.of("", "\"\""),
                Arguments.of("plain ASCII", "\"plain ASCII\""),
                Arguments.of("\u0000", "\"\\xC0\\x80\""),
                Arguments.of("a\u0000\u0000b", "\"a\\xC0\\x80\\xC0\\x80b\""),
                Arguments.of("\u00e9", "\"\\xC3\\xA9\""),
                Arguments.of("\u007f\u0080\u07ff\u0800\uffff", "\"\\x7F\\xC2\\x80\\xDF\\xBF\\xE0\\xA0\\x80\\xEF\\xBF\\xBF\""),
                Arguments.of("\ud83d\ude00", "\"\\xED\\xA0\\xBD\\xED\\xB8\\x80\""),
                Arguments.of("\udbff\udfff", "\"\\xED\\xAF\\xBF\\xED\\xBF\\xBF\""),
                Arguments.of("\ud800", "\"\\xED\\xA0\\x80\""),
                Arguments.of("\u20ac1000", "\"\\xE2\\x82\\xAC1000\""));
    }

    @ParameterizedTest(name = "{1}")
    @MethodSource
    void stringArgumentsAsModifiedUtf8(String item, String expected) {
        Velmora.ReadSizeOfRecordTxtField(1, 1, 2, item);
        assertEquals(List.of("ReadSizeOfRecordTxtField(1, 1, 2, " + expected + ")"), Standin.calls());
    }

    /** Every method that returns a String, with plain arguments. */
    static final Map<String, Supplier<String>> STRING_METHODS = new LinkedHashMap<>();

    static {
        STRING_METHODS.put("ReadRecordTxtField", () -> Velmora.ReadRecordTxtField(1, 1, 2, ""));
        STRING_METHODS.put("ReadRecordTxtFieldName", () -> Velmora.ReadRecordTxtFieldName(1, 1, 2));
        STRING_METHODS.put("ReadRecordTxtFieldDescription", () -> Velmora.ReadRecordTxtFieldDescription(1, 1, 2, ""));
        STRING_METHODS.put("ReadRecordExportedTxtFields", () -> Velmora.ReadRecordExportedTxtFields(1, 1));
        STRING_METHODS.put("ReadVelmoraLastErrorMessage", Velmora::ReadVelmoraLastErrorMessage);
    }

    /** Valid modified UTF-8 results, for every String method. */
    static Stream<Arguments> stringResults() {
        List<Arguments> cases = List.of(
                Arguments.of(bytes(), ""),
                Arguments.of(bytes('0', '5', '0', '2'), "0502"),
                Arguments.of(bytes(0xC3, 0xA9), "\u00e9"),
                Arguments.of(bytes(0xC0, 0x80), "\u0000"),
                Arguments.of(bytes(0xE2, 0x82, 0xAC), "\u20ac"),
                Arguments.of(bytes(0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80), "\ud83d\ude00"),
                Arguments.of(bytes('a', 'b', 0, 0xFF, 'c'), "ab"));
        return STRING_METHODS.keySet().stream()
                .flatMap(method -> cases.stream().map(c -> Arguments.of(method, c.get()[0], c.get()[1])));
    }

    @ParameterizedTest(name = "{0} gives {2}")
    @MethodSource
    void stringResults(String method, byte[] bytes, String expected) {
        Standin.steerString(method, bytes);
        assertEquals(expected, STRING_METHODS.get(method).get());
    }

    /**
     * A byte beyond ASCII after 0 to 24 ASCII ones and before 0 to 9 more: wherever it falls in the
     * words of a fast ASCII scan, the terminator's word included, it is seen. A valid sequence keeps
     * its char; a lone E9, not modified UTF-8, becomes U+FFFD instead of going to NewStringUTF.
     */
    static IntStream everyOffsetOfTheScan() {
        return IntStream.rangeClosed(0, 24);
    }

    @ParameterizedTest(name = "after {0} ASCII chars")
    @MethodSource
    void everyOffsetOfTheScan(int offset) {
        String head = "a".repeat(offset);
        for (int after = 0; after <= 9; after++) {
            String tail = "b".repeat(after);
            for (String middle : List.of("\u00e9", "\u20ac", "", "\ud83d\ude00")) {
                Standin.steerText("ReadRecordTxtField", head + middle + tail);
                assertEquals(head + middle + tail, Velmora.ReadRecordTxtField(1, 1, 2, ""));
            }
            byte[] lone = (head + "?" + tail).getBytes(StandardCharsets.US_ASCII);
            lone[offset] = (byte) 0xE9;
            Standin.steerString("ReadRecordTxtField", lone);
            assertEquals(head + "\ufffd" + tail, Velmora.ReadRecordTxtField(1, 1, 2, ""), "before " + after);
        }
    }

    static byte[] bytes(int... values) {
        byte[] b = new byte[values.length];
        for (int i = 0; i < values.length; i++) b[i] = (byte) values[i];
        return b;
    }

    private static Arguments received(Supplier<Object> call, String... calls) {
        return Arguments.of(call, calls[0], List.of(calls));
    }

    private static Arguments received(IntSupplier call, String... calls) {
        return received(() -> (Object) call.getAsInt(), calls);
    }
}
