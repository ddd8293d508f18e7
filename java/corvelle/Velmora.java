package corvelle;

/**
 * The record library Velmora64, for Java: NIST files in the ANSI/NIST-ITL interchange format.
 *
 * <p>Every method calls the record-library function of its own name through the native library
 * {@code Velmora_jniexport64}, which loads Velmora64 on the first call and finds each function on its
 * first use. The record library keeps the one current NIST file itself, so no method takes a file
 * handle, and calls that must not overlap are the caller's to order.
 *
 * <p>When the record library or one of its functions cannot be found, the method shows a message box
 * ("Unable to load Velmora64.dll", or "Unable to get <i>name</i> function address") and returns 0 or
 * null; the next call tries again. Results of the record library pass through unchanged; its own
 * errors are read with {@link #ReadVelmoraLastErrorMessage()}.
 *
 * <p>A null String or array argument throws {@link NullPointerException}, and a byte count outside
 * its array {@link IndexOutOfBoundsException}; the record library is then not called.
 */
public final class Velmora {
    static {
        System.loadLibrary("Velmora_jniexport64");
    }

    private Velmora() {}

    // NIST file transfer
    public static native int CreateNewNISTFile();
    public static native int WriteNISTToFile(String path);
    public static native int ReadNISTFromFile(String path);
    /** Reads a NIST file from the first {@code length} bytes of {@code data}. */
    public static native int ReadNISTFromMemory(byte[] data, int length);
    public static native int ReadSizeOfNISTByteArray();
    public static native byte[] ReadNISTByteArray();

    // Record queries
    public static native int CheckIfRecordTypeExists(int recordType);
    public static native int ReadNumberOfRecords(int recordType);
    public static native int ReadIDCofRecord(int recordType, int record);

    // Text fields, their names and descriptions, exported text fields
    public static native String ReadRecordTxtField(int recordType, int record, int field, String item);
    public static native int ReadSizeOfRecordTxtField(int recordType, int record, int field, String item);
    public static native String ReadRecordTxtFieldName(int recordType, int record, int field);
    public static native int ReadSizeOfRecordTxtFieldName(int recordType, int record, int field, String item);
    public static native String ReadRecordTxtFieldDescription(int recordType, int record, int field, String item);
    public static native int ReadSizeOfRecordTxtFieldDescription(int recordType, int record, int field, String item);
    public static native String ReadRecordExportedTxtFields(int recordType, int record);
    public static native int ReadSizeOfRecordExportedTxtFields(int recordType, int record);

    // Binary fields
    public static native byte[] ReadRecordBinaryField(int recordType, int record);
    public static native int ReadSizeOfRecordBinaryField(int recordType, int record);

    /**
     * Reads an image field as 32-bit pixels (bits 0-7 blue, 8-15 green, 16-23 red), rows from the top
     * and each row from the left; its width and height go into {@code dimensions[0]} and
     * {@code dimensions[1]}. Null when the record library gives no image.
     */
    public static native int[] CreateHBITMAPfromRecordBinaryField(int[] dimensions, int recordType, int record);

    // Record edits
    public static native int InsertRecordBinaryFieldFromFile(int recordType, int record, String path);
    /** Inserts the first {@code length} bytes of {@code data} as a binary field. */
    public static native int InsertRecordBinaryFieldFromMemory(int recordType, int record, byte[] data, int length,
                                                               String format, int width, int height, int depth);
    public static native int InsertRecordTxtField(int recordType, int record, int field, String item, String value);
    public static native int DeleteRecord(int recordType, int record);

    // Error reporting
    public static native int SetVelmoraErrorReportMode(int mode);
    public static native String ReadVelmoraLastErrorMessage();
}
