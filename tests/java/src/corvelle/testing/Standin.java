package corvelle.testing;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;

/**
 * Steers the stand-in record library Velmora64 that the bridge loads in this process: the same
 * libVelmora64.so, opened by the same bare name and library search, so both see one instance.
 *
 * <p>The library is opened on first use. Where it cannot be found (a child JVM started without it on
 * the search path), every steering method throws {@link IllegalStateException} and tries again on the
 * next call; {@link #isLoaded()} only answers, and never loads it.
 */
public final class Standin {
    static {
        System.loadLibrary("velmora_standin_jni");
    }

    private Standin() {}

    /** Whether this process has libVelmora64.so loaded already; never loads it. */
    public static native boolean isLoaded();

    /** Forgets the NIST file, every steered result, the last error and the call log. */
    public static native void reset();

    public static native void steerInt(String function, int result);

    /** The string function returns these bytes and a zero byte; a null pointer for null. */
    public static native void steerString(String function, byte[] bytes);

    /** The bytes function returns a buffer of these bytes and guard bytes; a null pointer for null. */
    public static native void steerBytes(String function, byte[] bytes);

    /**
     * CreateHBITMAPfromRecordBinaryField returns a new bitmap of these pixels (0x00RRGGBB, rows from
     * the top), stored bottom-up at bitsPerPixel (24 or 32); a null handle for null pixels.
     */
    public static native void steerBitmap(int width, int height, int bitsPerPixel, int[] pixels);

    /** CreateHBITMAPfromRecordBinaryField returns a handle that is not a bitmap. */
    public static native void steerNotABitmap();

    /** The record library's last error message, as the String's modified UTF-8 bytes. */
    public static native void setLastError(String message);

    /** One line per call since the last reset or clear, e.g. {@code DeleteRecord(2, 1)}. */
    public static native String callLog();

    public static native void clearCallLog();

    /** The string function returns the standard UTF-8 bytes of text. */
    public static void steerText(String function, String text) {
        steerString(function, text.getBytes(StandardCharsets.UTF_8));
    }

    public static List<String> calls() {
        String log = callLog();
        return log.isEmpty() ? List.of() : Arrays.asList(log.split("\n"));
    }
}
