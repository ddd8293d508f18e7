package corvelle.tests;

import java.util.Arrays;
import java.util.HexFormat;

/** One-line, ASCII-only text of a native method's outcome, for transcripts of child JVMs. */
final class Repr {
    private Repr() {}

    /** What CreateHBITMAPfromRecordBinaryField returned, with its dimensions array afterwards. */
    record Pixels(int[] pixels, int[] dimensions) {}

    static String of(Object value) {
        if (value == null) return "null";
        if (value instanceof Integer i) return Integer.toString(i);
        if (value instanceof String s) return quoted(s);
        if (value instanceof byte[] b) {
            return "bytes[" + b.length + "] " + HexFormat.of().withUpperCase().formatHex(b, 0, Math.min(b.length, 64));
        }
        if (value instanceof int[] a) return "ints" + Arrays.toString(a);
        if (value instanceof Pixels p) {
            String pixels = p.pixels() == null ? "null" : "pixels" + Arrays.toString(p.pixels());
            return pixels + " dimensions" + Arrays.toString(p.dimensions());
        }
        if (value instanceof Throwable t) return "threw " + t.getClass().getName();
        throw new IllegalArgumentException("no text for " + value.getClass());
    }

    /** As {@link #of}, with a Throwable's message after it. */
    static String withMessage(Object value) {
        return value instanceof Throwable t ? of(t) + ": " + (t.getMessage() == null ? "null" : quoted(t.getMessage()))
                : of(value);
    }

    static String quoted(String s) {
        StringBuilder out = new StringBuilder("\"");
        for (char c : s.toCharArray()) {
            if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') out.append(c);
            else out.append(String.format("\\u%04X", (int) c));
        }
        return out.append('"').toString();
    }
}
