package corvelle.tests;

import static corvelle.tests.ConversionsTest.bytes;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrowsExactly;

import corvelle.Velmora;
import corvelle.testing.Standin;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.function.Supplier;
import java.util.stream.Stream;
import org.junit.jupiter.api.DynamicTest;
import org.junit.jupiter.api.TestFactory;

/**
 * Input beyond the limits, from the Java side and from the record library's side, over every method
 * it can reach: each gives its one clear result, a pending exception or 0/null, and the CTest wrapper
 * fails the run on any -Xcheck:jni report.
 */
class BadInputTest {
    /**
     * One row: what the stand-in is steered to, the call, its outcome and what the record library got.
     * A thrown class is matched exactly, and its message too when the row names one.
     */
    record Case(String name, Runnable steer, Supplier<Object> call, Class<? extends Throwable> thrown, String message,
                Object result, List<String> calls) {
        Case(String name, Runnable steer, Supplier<Object> call, Class<? extends Throwable> thrown, Object result,
             List<String> calls) {
            this(name, steer, call, thrown, null, result, calls);
        }

        DynamicTest test() {
            return DynamicTest.dynamicTest(name, () -> {
                Standin.reset();
                steer.run();
                if (thrown != null) {
                    Throwable caught = assertThrowsExactly(thrown, call::get);
                    if (message != null) assertEquals(message, caught.getMessage());
                } else {
                    Object actual = call.get();
                    if (result instanceof byte[] expected) assertArrayEquals(expected, (byte[]) actual);
                    else if (result instanceof Repr.Pixels expected) assertEquals(Repr.of(expected), Repr.of(actual));
                    else assertEquals(result, actual);
                }
                assertEquals(calls, Standin.calls(), "what the record library was called with");
            });
        }
    }

    static final Runnable NOTHING = () -> {};
    static final List<String> NOT_CALLED = List.of();

    static Case throwing(String name, Class<? extends Throwable> thrown, Supplier<Object> call) {
        return throwing(name, thrown, null, call);
    }

    static Case throwing(String name, Class<? extends Throwable> thrown, String message, Supplier<Object> call) {
        return new Case(name, NOTHING, call, thrown, message, null, NOT_CALLED);
    }

    static Case giving(String name, Runnable steer, Supplier<Object> call, Object result, String... calls) {
        return new Case(name, steer, call, null, result, List.of(calls));
    }

    static final Class<NullPointerException> NPE = NullPointerException.class;
    static final Class<ArrayIndexOutOfBoundsException> IOOBE = ArrayIndexOutOfBoundsException.class;

    @TestFactory
    Stream<DynamicTest> nullStringArguments() {
        byte[] data = {1, 2, 3};
        return Stream.of(
                throwing("WriteNISTToFile path", NPE, () -> Velmora.WriteNISTToFile(null)),
                throwing("ReadNISTFromFile path", NPE, () -> Velmora.ReadNISTFromFile(null)),
                throwing("ReadRecordTxtField", NPE, "String argument is null",
                        () -> Velmora.ReadRecordTxtField(1, 1, 2, null)),
                throwing("ReadSizeOfRecordTxtField", NPE, () -> Velmora.ReadSizeOfRecordTxtField(1, 1, 2, null)),
                throwing("ReadSizeOfRecordTxtFieldName", NPE, () -> Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, null)),
                throwing("ReadRecordTxtFieldDescription", NPE, () -> Velmora.ReadRecordTxtFieldDescription(1, 1, 2, null)),
                throwing("ReadSizeOfRecordTxtFieldDescription", NPE,
                        () -> Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, null)),
                throwing("InsertRecordBinaryFieldFromFile path", NPE, () -> Velmora.InsertRecordBinaryFieldFromFile(2, 1, null)),
                throwing("InsertRecordBinaryFieldFromMemory format", NPE,
                        () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, data, 3, null, 1, 1, 8)),
                throwing("InsertRecordTxtField item", NPE, () -> Velmora.InsertRecordTxtField(2, 1, 3, null, "v")),
                throwing("InsertRecordTxtField value", NPE, () -> Velmora.InsertRecordTxtField(2, 1, 3, "", null)),
                throwing("InsertRecordTxtField both", NPE, () -> Velmora.InsertRecordTxtField(2, 1, 3, null, null)))
                .map(Case::test);
    }

    @TestFactory
    Stream<DynamicTest> nullArrays() {
        return Stream.of(
                throwing("ReadNISTFromMemory data", NPE, "byte array argument is null",
                        () -> Velmora.ReadNISTFromMemory(null, 0)),
                throwing("InsertRecordBinaryFieldFromMemory data", NPE,
                        () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, null, 0, "RAW", 1, 1, 8)),
                // The String is converted first: one exception, no JNI call made with it pending.
                throwing("InsertRecordBinaryFieldFromMemory data and format", NPE,
                        () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, null, 99, null, 1, 1, 8)),
                throwing("CreateHBITMAPfromRecordBinaryField dimensions", NPE, "dimensions is null",
                        () -> Velmora.CreateHBITMAPfromRecordBinaryField(null, 1, 1)))
                .map(Case::test);
    }

    /** Byte counts against a four-byte array: outside it they are refused, within it they pass unchanged. */
    @TestFactory
    Stream<DynamicTest> byteCounts() {
        byte[] four = {0x0A, 0x0B, 0x0C, 0x0D};
        List<Case> cases = new ArrayList<>();
        for (int count : new int[] {5, -1, Integer.MAX_VALUE, Integer.MIN_VALUE}) {
            cases.add(throwing("ReadNISTFromMemory length " + count, IOOBE, () -> Velmora.ReadNISTFromMemory(four, count)));
            cases.add(throwing("InsertRecordBinaryFieldFromMemory length " + count, IOOBE,
                    () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, four, count, "RAW", 1, 1, 8)));
            // A byte count past the array with a null format: the String's exception comes first.
            cases.add(throwing("InsertRecordBinaryFieldFromMemory length " + count + ", null format", NPE,
                    () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, four, count, null, 1, 1, 8)));
        }
        cases.add(throwing("ReadNISTFromMemory length 1 of an empty array", IOOBE,
                "byte count lies outside the byte array", () -> Velmora.ReadNISTFromMemory(new byte[0], 1)));
        String[] hex = {"", "0A", "0A0B", "0A0B0C", "0A0B0C0D"};
        for (int count = 0; count <= 4; count++) {
            final int n = count;
            cases.add(giving("ReadNISTFromMemory length " + n + " of 4", NOTHING, () -> Velmora.ReadNISTFromMemory(four, n),
                    -1, "ReadNISTFromMemory([" + hex[n] + "], " + n + ")"));
            cases.add(giving("InsertRecordBinaryFieldFromMemory length " + n + " of 4", NOTHING,
                    () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, four, n, "RAW", 1, 1, 8), 0,
                    "InsertRecordBinaryFieldFromMemory(2, 1, [" + hex[n] + "], " + n + ", \"RAW\", 1, 1, 8)"));
        }
        cases.add(giving("ReadNISTFromMemory length 0 of an empty array", NOTHING,
                () -> Velmora.ReadNISTFromMemory(new byte[0], 0), -1, "ReadNISTFromMemory([], 0)"));
        return cases.stream().map(Case::test);
    }

    @TestFactory
    Stream<DynamicTest> shortDimensions() {
        return Stream.of(new int[0], new int[] {-7}).map(dimensions -> DynamicTest.dynamicTest(
                "CreateHBITMAPfromRecordBinaryField dimensions of " + dimensions.length, () -> {
                    Standin.reset();
                    Standin.steerBitmap(1, 1, 24, new int[] {0xFFFFFF});
                    int[] before = dimensions.clone();
                    Throwable caught = assertThrowsExactly(IOOBE,
                            () -> Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1));
                    assertEquals("dimensions has fewer than two elements", caught.getMessage());
                    assertArrayEquals(before, dimensions);
                    assertEquals(NOT_CALLED, Standin.calls());
                }));
    }

    static final Map<String, Supplier<Object>> STRING_METHODS = Map.of(
            "ReadRecordTxtField", () -> Velmora.ReadRecordTxtField(1, 1, 2, ""),
            "ReadRecordTxtFieldName", () -> Velmora.ReadRecordTxtFieldName(1, 1, 2),
            "ReadRecordTxtFieldDescription", () -> Velmora.ReadRecordTxtFieldDescription(1, 1, 2, ""),
            "ReadRecordExportedTxtFields", () -> Velmora.ReadRecordExportedTxtFields(1, 1),
            "ReadVelmoraLastErrorMessage", Velmora::ReadVelmoraLastErrorMessage);

    static final Map<String, String> STRING_CALLS = Map.of(
            "ReadRecordTxtField", "ReadRecordTxtField(1, 1, 2, \"\")",
            "ReadRecordTxtFieldName", "ReadRecordTxtFieldName(1, 1, 2)",
            "ReadRecordTxtFieldDescription", "ReadRecordTxtFieldDescription(1, 1, 2, \"\")",
            "ReadRecordExportedTxtFields", "ReadRecordExportedTxtFields(1, 1)",
            "ReadVelmoraLastErrorMessage", "ReadVelmoraLastErrorMessage()");

    /**
     * String results that are not modified UTF-8: a standard four-byte sequence becomes its surrogate
     * pair, every other byte outside a valid sequence U+FFFD, and nothing after them is lost.
     */
    @TestFactory
    Stream<DynamicTest> stringResultsBeyondModifiedUtf8() {
        record Bad(String name, byte[] bytes, String expected) {}
        List<Bad> bad = List.of(
                new Bad("a null pointer", null, null),
                new Bad("a four-byte sequence", bytes(0xF0, 0x9F, 0x98, 0x80), "\ud83d\ude00"),
                new Bad("a four-byte sequence inside", bytes('x', 0xF0, 0x9F, 0x98, 0x80, 'y'), "x\ud83d\ude00y"),
                new Bad("U+10FFFF in four bytes", bytes(0xF4, 0x8F, 0xBF, 0xBF), "\udbff\udfff"),
                new Bad("a lone Latin-1 byte", bytes('a', 0xE9, 'b'), "a\ufffdb"),
                new Bad("a lone continuation byte", bytes(0x80, 'z'), "\ufffdz"),
                new Bad("FF", bytes(0xFF), "\ufffd"),
                new Bad("a two-byte sequence cut short", bytes('a', 0xC3), "a\ufffd"),
                new Bad("a three-byte sequence cut short", bytes(0xE2, 0x82, 'c'), "\ufffd\ufffdc"),
                new Bad("a four-byte sequence cut short", bytes(0xF0, 0x9F, 0x98), "\ufffd\ufffd\ufffd"),
                new Bad("an overlong two-byte A", bytes(0xC1, 0x81), "\ufffd\ufffd"),
                new Bad("an overlong three-byte slash", bytes(0xE0, 0x80, 0xAF), "\ufffd\ufffd\ufffd"),
                new Bad("beyond U+10FFFF", bytes(0xF4, 0x90, 0x80, 0x80), "\ufffd\ufffd\ufffd\ufffd"),
                // Each side of the shortest three-byte and four-byte forms: U+07FF and U+FFFF are
                // overlong there, U+0800 is valid modified UTF-8, U+10000 a standard four-byte sequence.
                new Bad("an overlong three-byte U+07FF", bytes(0xE0, 0x9F, 0xBF), "\ufffd\ufffd\ufffd"),
                new Bad("U+0800, the first three-byte one", bytes(0xE0, 0xA0, 0x80), "\u0800"),
                new Bad("an overlong four-byte U+FFFF", bytes(0xF0, 0x8F, 0xBF, 0xBF), "\ufffd\ufffd\ufffd\ufffd"),
                new Bad("U+10000, the first four-byte one", bytes(0xF0, 0x90, 0x80, 0x80), "\ud800\udc00"),
                new Bad("a five-byte form", bytes(0xF8, 0x88, 0x80, 0x80, 0x80), "\ufffd\ufffd\ufffd\ufffd\ufffd"),
                new Bad("valid modified UTF-8 around it", bytes(0xC0, 0x80, 0xF0, 0x9F, 0x98, 0x80, 0xC3, 0xA9),
                        "\u0000\ud83d\ude00\u00e9"),
                new Bad("a long ASCII run before it", concat("q".repeat(100), bytes(0xE9)), "q".repeat(100) + "\ufffd"));
        return STRING_METHODS.keySet().stream().sorted().flatMap(method -> bad.stream().map(b -> giving(
                method + ", " + b.name(), () -> Standin.steerString(method, b.bytes()), STRING_METHODS.get(method),
                b.expected(), STRING_CALLS.get(method)))).map(Case::test);
    }

    /** Sizes and buffers of the two byte-array reads that give null, or an empty array, never a read outside. */
    @TestFactory
    Stream<DynamicTest> byteArrayResults() {
        record Read(String read, String size, Supplier<Object> call, String[] calls) {}
        List<Read> reads = List.of(
                new Read("ReadNISTByteArray", "ReadSizeOfNISTByteArray", Velmora::ReadNISTByteArray,
                        new String[] {"ReadSizeOfNISTByteArray()", "ReadNISTByteArray()"}),
                new Read("ReadRecordBinaryField", "ReadSizeOfRecordBinaryField", () -> Velmora.ReadRecordBinaryField(1, 1),
                        new String[] {"ReadSizeOfRecordBinaryField(1, 1)", "ReadRecordBinaryField(1, 1)"}));
        byte[] abc = {'a', 'b', 'c'};
        List<Case> cases = new ArrayList<>();
        for (Read r : reads) {
            for (int size : new int[] {-1, Integer.MIN_VALUE})
                cases.add(giving(r.read() + " size " + size, steer(r.read(), abc, r.size(), size), r.call(), null, r.calls()));
            cases.add(giving(r.read() + " null buffer, size 1", steer(r.read(), null, r.size(), 1), r.call(), null, r.calls()));
            cases.add(giving(r.read() + " null buffer, size 0", steer(r.read(), null, r.size(), 0), r.call(), new byte[0],
                    r.calls()));
            cases.add(giving(r.read() + " size 0", steer(r.read(), abc, r.size(), 0), r.call(), new byte[0], r.calls()));
            // More than any Java array holds: NewByteArray fails before a byte is read.
            cases.add(new Case(r.read() + " size beyond a Java array", steer(r.read(), abc, r.size(), Integer.MAX_VALUE),
                    r.call(), OutOfMemoryError.class, null, List.of(r.calls())));
        }
        return cases.stream().map(Case::test);
    }

    /** Handles that give no pixels: null, dimensions untouched, the record library called once. */
    @TestFactory
    Stream<DynamicTest> bitmapsWithoutPixels() {
        Supplier<Object> call = () -> {
            int[] dimensions = {-7, -7};
            return new Repr.Pixels(Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1), dimensions);
        };
        Repr.Pixels untouched = new Repr.Pixels(null, new int[] {-7, -7});
        String called = "CreateHBITMAPfromRecordBinaryField(1, 1)";
        return Stream.of(
                giving("a null handle", () -> Standin.steerBitmap(0, 0, 24, null), call, untouched, called),
                giving("a handle that is not a bitmap", Standin::steerNotABitmap, call, untouched, called),
                giving("a bitmap of width 0", () -> Standin.steerBitmap(0, 5, 24, new int[0]), call, untouched, called),
                giving("a bitmap of height 0", () -> Standin.steerBitmap(5, 0, 32, new int[0]), call, untouched, called),
                giving("an image field that is no image", NOTHING, call, untouched, called))
                .map(Case::test);
    }

    private static Runnable steer(String read, byte[] buffer, String size, int n) {
        return () -> {
            Standin.steerBytes(read, buffer);
            Standin.steerInt(size, n);
        };
    }

    private static byte[] concat(String ascii, byte[] tail) {
        byte[] head = ascii.getBytes(java.nio.charset.StandardCharsets.US_ASCII);
        byte[] out = java.util.Arrays.copyOf(head, head.length + tail.length);
        System.arraycopy(tail, 0, out, head.length, tail.length);
        return out;
    }
}
