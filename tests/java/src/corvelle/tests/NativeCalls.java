package corvelle.tests;

import corvelle.Velmora;
import java.util.List;
import java.util.Map;
import java.util.function.Supplier;
import java.util.stream.Collectors;

/**
 * Every native method of Velmora once: with plain arguments, and with null in place of every String
 * and array, which a call that fails in its frame must never look at.
 */
final class NativeCalls {
    private NativeCalls() {}

    /** A native method, the record-library functions it needs (its own first) and its two calls. */
    record Call(String method, boolean returnsInt, List<String> functions, Supplier<Object> withValues,
                Supplier<Object> withNulls) {
        Object failureValue() {
            return returnsInt ? (Object) 0 : null;
        }

        /** The function whose lookup message a library lacking {@code missing} makes it show, or null. */
        String failingFunction(String missing) {
            return functions.contains(missing) ? missing : null;
        }

        boolean takesObjects() {
            return withNulls != withValues;
        }
    }

    static final String NO_SUCH_PATH = "/nonexistent-velmora-dir/file.nist";

    static final List<Call> ALL = List.of(
            call("CreateNewNISTFile", Velmora::CreateNewNISTFile),
            call("WriteNISTToFile", () -> Velmora.WriteNISTToFile(NO_SUCH_PATH), () -> Velmora.WriteNISTToFile(null)),
            object("ReadNISTByteArray", List.of("ReadNISTByteArray", "ReadSizeOfNISTByteArray"),
                    Velmora::ReadNISTByteArray),
            call("ReadSizeOfNISTByteArray", Velmora::ReadSizeOfNISTByteArray),
            call("ReadNISTFromFile", () -> Velmora.ReadNISTFromFile(NO_SUCH_PATH), () -> Velmora.ReadNISTFromFile(null)),
            call("ReadNISTFromMemory", () -> Velmora.ReadNISTFromMemory(new byte[] {1, 2, 3}, 3),
                    () -> Velmora.ReadNISTFromMemory(null, 3)),
            call("CheckIfRecordTypeExists", () -> Velmora.CheckIfRecordTypeExists(1)),
            call("ReadNumberOfRecords", () -> Velmora.ReadNumberOfRecords(1)),
            call("ReadIDCofRecord", () -> Velmora.ReadIDCofRecord(1, 1)),
            object("ReadRecordTxtField", () -> Velmora.ReadRecordTxtField(1, 1, 2, ""),
                    () -> Velmora.ReadRecordTxtField(1, 1, 2, null)),
            call("ReadSizeOfRecordTxtField", () -> Velmora.ReadSizeOfRecordTxtField(1, 1, 2, ""),
                    () -> Velmora.ReadSizeOfRecordTxtField(1, 1, 2, null)),
            object("ReadRecordTxtFieldName", () -> Velmora.ReadRecordTxtFieldName(1, 1, 2)),
            call("ReadSizeOfRecordTxtFieldName", () -> Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, ""),
                    () -> Velmora.ReadSizeOfRecordTxtFieldName(1, 1, 2, null)),
            object("ReadRecordTxtFieldDescription", () -> Velmora.ReadRecordTxtFieldDescription(1, 1, 2, ""),
                    () -> Velmora.ReadRecordTxtFieldDescription(1, 1, 2, null)),
            call("ReadSizeOfRecordTxtFieldDescription", () -> Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, ""),
                    () -> Velmora.ReadSizeOfRecordTxtFieldDescription(1, 1, 2, null)),
            object("ReadRecordExportedTxtFields", () -> Velmora.ReadRecordExportedTxtFields(1, 1)),
            call("ReadSizeOfRecordExportedTxtFields", () -> Velmora.ReadSizeOfRecordExportedTxtFields(1, 1)),
            object("ReadRecordBinaryField", List.of("ReadRecordBinaryField", "ReadSizeOfRecordBinaryField"),
                    () -> Velmora.ReadRecordBinaryField(1, 1)),
            call("ReadSizeOfRecordBinaryField", () -> Velmora.ReadSizeOfRecordBinaryField(1, 1)),
            object("CreateHBITMAPfromRecordBinaryField", NativeCalls::pixels,
                    () -> Velmora.CreateHBITMAPfromRecordBinaryField(null, 1, 1)),
            call("InsertRecordBinaryFieldFromFile", () -> Velmora.InsertRecordBinaryFieldFromFile(2, 1, NO_SUCH_PATH),
                    () -> Velmora.InsertRecordBinaryFieldFromFile(2, 1, null)),
            call("InsertRecordBinaryFieldFromMemory",
                    () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, new byte[] {1, 2, 3}, 3, "RAW", 3, 1, 8),
                    () -> Velmora.InsertRecordBinaryFieldFromMemory(2, 1, null, 3, null, 3, 1, 8)),
            call("InsertRecordTxtField", () -> Velmora.InsertRecordTxtField(2, 1, 3, "", "value"),
                    () -> Velmora.InsertRecordTxtField(2, 1, 3, null, null)),
            call("DeleteRecord", () -> Velmora.DeleteRecord(2, 1)),
            call("SetVelmoraErrorReportMode", () -> Velmora.SetVelmoraErrorReportMode(1)),
            object("ReadVelmoraLastErrorMessage", Velmora::ReadVelmoraLastErrorMessage));

    static final Map<String, Call> BY_METHOD =
            ALL.stream().collect(Collectors.toUnmodifiableMap(Call::method, c -> c));

    private static Repr.Pixels pixels() {
        int[] dimensions = {-7, -7, -7};
        return new Repr.Pixels(Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, 1, 1), dimensions);
    }

    private static Call call(String method, Supplier<Object> values) {
        return new Call(method, true, List.of(method), values, values);
    }

    private static Call call(String method, Supplier<Object> values, Supplier<Object> nulls) {
        return new Call(method, true, List.of(method), values, nulls);
    }

    private static Call object(String method, Supplier<Object> values) {
        return new Call(method, false, List.of(method), values, values);
    }

    private static Call object(String method, List<String> functions, Supplier<Object> values) {
        return new Call(method, false, functions, values, values);
    }

    private static Call object(String method, Supplier<Object> values, Supplier<Object> nulls) {
        return new Call(method, false, List.of(method), values, nulls);
    }
}
