/**
 * The benchmark's own JNI library, velmora_bench: the natives the bridge is measured against, and the
 * steering of the record library. It opens "libVelmora64.so" by the same bare name as the bridge, so
 * the dynamic loader hands both the one instance that LD_LIBRARY_PATH finds, and it calls the record
 * library's functions through pointers it looked up itself.
 */
final class Baseline {
    static {
        System.loadLibrary("velmora_bench");
    }

    private Baseline() {}

    /** Opens the record library and looks up its functions; null when all went well, else what failed. */
    static native String open();

    static native void reset();
    static native void steerInt(String function, int result);
    static native void steerString(String function, byte[] bytes);
    static native void steerBytes(String function, byte[] bytes);
    static native void steerBitmap(int width, int height, int bitsPerPixel, int[] pixels);

    /** Nothing at all: the cost of a JNI call. */
    static native int empty(int value);

    /** The record library's ReadNumberOfRecords through the bench's own pointer. */
    static native int readNumberOfRecords(int recordType);

    /** GetStringUTFChars, the record library's ReadRecordTxtField, NewStringUTF, ReleaseStringUTFChars. */
    static native String readRecordTxtField(int recordType, int record, int field, String item);

    /** Size, read, then NewByteArray + GetByteArrayElements + memcpy + ReleaseByteArrayElements(0). */
    static native byte[] readNISTByteArray();

    /** Size, read, then NewByteArray + SetByteArrayRegion: one copy after the zeroing. */
    static native byte[] readNISTByteArraySetRegion();

    /** Size, read, then NewByteArray + GetPrimitiveArrayCritical + memcpy + ReleasePrimitiveArrayCritical(0). */
    static native byte[] readNISTByteArrayCritical();

    /** Size, read, then memcpy into a native buffer kept from call to call; returns its last byte. */
    static native int readNISTByteArrayIntoNative();

    /**
     * The bridge's operations inline: the bitmap, GetObject, dimensions written under critical access,
     * CreateCompatibleDC, NewIntArray, GetDIBits into its critical elements, DeleteDC, DeleteObject.
     */
    static native int[] readBitmapIntoIntArray(int[] dimensions, int recordType, int record);

    /** NewIntArray alone: the allocation and zeroing that every new Java array costs. */
    static native int[] newIntArray(int length);

    /** The record library's bitmap read by GetDIBits into a native buffer, then deleted; its last pixel. */
    static native int readBitmapIntoNative(int recordType, int record);
}
