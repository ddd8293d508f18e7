package corvelle.tests;

import corvelle.Velmora;
import corvelle.testing.JniCanary;
import corvelle.testing.Standin;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CyclicBarrier;
import java.util.function.Function;
import java.util.function.Supplier;

/** The child JVM's side of the fresh-process scenarios; its transcript goes to standard error. */
public final class Scenario {
    private Scenario() {}

    public static void main(String[] args) throws Exception {
        switch (args[0]) {
            case "missing-library" -> missingLibrary(Path.of(args[1]), Path.of(args[2]));
            case "rounds" -> {
                for (int i = 1; i < args.length; i++) round(args[i], args[i].startsWith("nulls"));
            }
            case "first-call" -> firstCall(args[1]);
            case "race" -> race(Integer.parseInt(args[1]));
            case "canary-pending" -> {
                try {
                    JniCanary.callWithExceptionPending();
                } catch (IllegalStateException expected) {
                    // the exception itself is the canary's, the warning is what the test looks for
                }
            }
            case "canary-critical" -> JniCanary.callInsideCriticalRegion();
            case "native-heap-exhausted" -> nativeHeapExhausted(Integer.parseInt(args[1]));
            default -> throw new IllegalArgumentException(args[0]);
        }
    }

    static void step(NativeCalls.Call call, boolean nulls) {
        step(call.method(), nulls ? call.withNulls() : call.withValues(), Repr::of);
    }

    static void step(String method, Supplier<Object> call, Function<Object, String> repr) {
        System.err.println("call " + method);
        Object outcome;
        try {
            outcome = call.get();
        } catch (RuntimeException | Error e) {
            outcome = e;
        }
        System.err.println("result " + method + " " + repr.apply(outcome));
        // Never loads the stand-in itself: that stays the bridge's first call.
        if (Standin.isLoaded()) {
            for (String line : Standin.calls()) System.err.println("library " + line);
            Standin.clearCallLog();
        }
    }

    private static void round(String phase, boolean nulls) {
        System.err.println("phase " + phase);
        for (NativeCalls.Call call : NativeCalls.ALL) step(call, nulls);
    }

    private static void missingLibrary(Path searchedDir, Path standin) throws Exception {
        round("nulls-absent", true);
        round("values-absent", false);
        Files.copy(standin, searchedDir.resolve("libVelmora64.so"));
        round("values-present", false);
    }

    private static void firstCall(String method) {
        // Steering opens the stand-in, but the bridge's own load and lookups still come first.
        switch (method) {
            case "ReadRecordBinaryField" -> {
                Standin.steerBytes("ReadRecordBinaryField", new byte[] {10, 20, 30, 40, 50});
                Standin.steerInt("ReadSizeOfRecordBinaryField", 3);
            }
            case "CreateHBITMAPfromRecordBinaryField" ->
                    Standin.steerBitmap(3, 2, 24, new int[] {0xFF0000, 0x00FF00, 0x0000FF, 0x010203, 0x040506, 0x070809});
            default -> {}
        }
        if (Standin.isLoaded()) Standin.clearCallLog();
        NativeCalls.Call call = NativeCalls.BY_METHOD.get(method);
        System.err.println("phase first");
        step(call, false);
        System.err.println("phase again");
        step(call, false);
        // A byte-array read's size function, which its first call found for the size method too.
        for (String sizeFunction : call.functions().subList(1, call.functions().size()))
            step(NativeCalls.BY_METHOD.get(sizeFunction), false);
    }

    /**
     * One call for each copy the native heap may refuse, each asking malloc for exactly {@code size}
     * bytes: a byte array argument's elements, a String argument's modified UTF-8 with its terminator,
     * and the elements of the new result array.
     */
    private static void nativeHeapExhausted(int size) {
        byte[] data = new byte[size];
        String item = "x".repeat(size - 1);
        Standin.reset();
        // One byte more than the bridge copies, so that the steering's own copies are of other sizes.
        Standin.steerBytes("ReadRecordBinaryField", new byte[size + 1]);
        Standin.steerInt("ReadSizeOfRecordBinaryField", size);
        System.err.println("phase exhausted");
        step("ReadNISTFromMemory", () -> Velmora.ReadNISTFromMemory(data, size), Repr::withMessage);
        step("ReadSizeOfRecordTxtField", () -> Velmora.ReadSizeOfRecordTxtField(0, 0, 0, item), Repr::withMessage);
        step("ReadRecordBinaryField", () -> Velmora.ReadRecordBinaryField(0, 0), Repr::withMessage);
    }

    /** Methods that leave the stand-in's file and last error as they are, so every answer is fixed. */
    static final List<String> RACED = List.of("ReadNISTByteArray", "ReadSizeOfNISTByteArray", "CheckIfRecordTypeExists",
            "ReadNumberOfRecords", "ReadIDCofRecord", "ReadRecordTxtField", "ReadSizeOfRecordTxtField",
            "ReadRecordTxtFieldName", "ReadSizeOfRecordTxtFieldName", "ReadRecordTxtFieldDescription",
            "ReadSizeOfRecordTxtFieldDescription", "ReadRecordExportedTxtFields", "ReadSizeOfRecordExportedTxtFields",
            "ReadRecordBinaryField", "ReadSizeOfRecordBinaryField", "ReadVelmoraLastErrorMessage");

    /** Every thread makes its first native calls at once; thread t starts at method t and goes round. */
    private static void race(int threads) throws Exception {
        CyclicBarrier start = new CyclicBarrier(threads);
        List<List<String>> outcomes = new ArrayList<>();
        List<Thread> running = new ArrayList<>();
        for (int t = 0; t < threads; t++) {
            List<String> mine = new ArrayList<>();
            outcomes.add(mine);
            final int first = t;
            Thread thread = new Thread(() -> {
                try {
                    start.await();
                } catch (Exception e) {
                    throw new IllegalStateException(e);
                }
                for (int k = 0; k < RACED.size(); k++) {
                    String method = RACED.get((first + k) % RACED.size());
                    Object outcome;
                    try {
                        outcome = NativeCalls.BY_METHOD.get(method).withValues().get();
                    } catch (RuntimeException | Error e) {
                        outcome = e;
                    }
                    mine.add(method + " " + Repr.of(outcome));
                }
            });
            running.add(thread);
            thread.start();
        }
        for (Thread thread : running) thread.join();
        for (int t = 0; t < threads; t++)
            for (String line : outcomes.get(t)) System.out.println("thread " + t + " " + line);
    }
}
