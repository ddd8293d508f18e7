package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertAll;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.function.Executable;

/**
 * A native heap that cannot hold the VM's copy of a String or an array, for real: HotSpot then gives
 * null with nothing pending, and the bridge must throw OutOfMemoryError itself rather than hand 0 or
 * null to Java as if the record library had answered. The child JVM runs with a preloaded malloc
 * that refuses one size (tests/java/native/refuse_malloc.cpp), and each call asks for it once.
 */
class NativeHeapExhaustedTest {
    /** A few MiB and an odd number: no other part of the JVM asks malloc for this many bytes. */
    static final int REFUSED = 3 * 1024 * 1024 + 7;

    /** What the shim writes on standard error at each refusal. */
    static final String REFUSAL = "refused malloc(" + REFUSED + ")";

    record Expected(String method, String message, List<String> library) {}

    static final List<Expected> EXPECTED = List.of(
            // An argument's copy: the record library is never called.
            new Expected("ReadNISTFromMemory", "cannot get the elements of a byte array argument", List.of()),
            new Expected("ReadSizeOfRecordTxtField", "cannot get the chars of a String argument", List.of()),
            // The result's copy: size and read as always, then no array to copy them into.
            new Expected("ReadRecordBinaryField", "cannot get the elements of the new byte array",
                    List.of("ReadSizeOfRecordBinaryField(0, 0)", "ReadRecordBinaryField(0, 0)")));

    @Test
    void copiesTheNativeHeapCannotHoldThrowOutOfMemoryError() throws Exception {
        Path shim = Path.of(System.getProperty("velmora.refuseMalloc"));
        assertTrue(Files.isRegularFile(shim), () -> "no malloc shim at " + shim);
        // Without -Xcheck:jni, as the bridge runs in use: the checker wraps the VM's copy in a guarded
        // copy of its own, of another size, and the fault to answer is the plain VM's null.
        ChildJvm.Options options = new ChildJvm.Options(false,
                Map.of("LD_PRELOAD", shim.toString(), "VELMORA_REFUSED_MALLOC_SIZE", Integer.toString(REFUSED)));
        ChildJvm.Result child = ChildJvm.run(options, ChildJvm.standin("full"), List.of(), Scenario.class,
                "native-heap-exhausted", Integer.toString(REFUSED)).assertClean();
        Transcript transcript = Transcript.parse(child.err());
        // A refusal outside the three calls would land here.
        assertEquals(List.of(), transcript.stray, child::text);
        List<Transcript.Step> steps = transcript.phase("exhausted");
        assertEquals(EXPECTED.stream().map(Expected::method).toList(), steps.stream().map(Transcript.Step::method).toList(),
                child::text);

        List<Executable> checks = new ArrayList<>();
        for (int i = 0; i < EXPECTED.size(); i++) {
            Expected expected = EXPECTED.get(i);
            Transcript.Step step = steps.get(i);
            checks.add(() -> assertEquals(List.of(REFUSAL), step.messages(),
                    expected.method() + ": the shim refused the copy once, within the call"));
            checks.add(() -> assertEquals("threw java.lang.OutOfMemoryError: " + Repr.quoted(expected.message()),
                    step.result(), expected.method()));
            checks.add(() -> assertEquals(expected.library(), step.library(),
                    expected.method() + ": what the record library was called with"));
        }
        assertAll(checks);
    }
}
