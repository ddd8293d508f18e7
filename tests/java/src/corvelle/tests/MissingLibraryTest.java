package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.nio.file.Path;
import java.util.List;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * A process whose library search finds no record library: every method shows the load message on
 * every call and gives 0 or null without touching its arguments; once the record library is put
 * where the search looks, the next call loads it, with no restart.
 */
class MissingLibraryTest {
    static final String LOAD_MESSAGE = "Error: Unable to load Velmora64.dll";

    @Test
    void everyCallShowsTheLoadMessageUntilTheLibraryAppears(@TempDir Path searched) throws Exception {
        Path standin = ChildJvm.standin("full").resolve("libVelmora64.so");
        ChildJvm.Result child = ChildJvm.run(searched, List.of(), Scenario.class, "missing-library", searched.toString(),
                standin.toString()).assertClean();
        Transcript transcript = Transcript.parse(child.err());
        assertEquals(List.of(), transcript.stray, child::text);

        for (String phase : List.of("nulls-absent", "values-absent")) {
            List<Transcript.Step> steps = transcript.phase(phase);
            assertEquals(NativeCalls.ALL.size(), steps.size(), phase);
            for (Transcript.Step step : steps) {
                NativeCalls.Call call = NativeCalls.BY_METHOD.get(step.method());
                String where = phase + ": " + step.method();
                assertEquals(List.of(LOAD_MESSAGE), step.messages(), where);
                String expected = Repr.of(call.failureValue());
                if (step.method().equals("CreateHBITMAPfromRecordBinaryField") && phase.equals("values-absent"))
                    expected = "null dimensions[-7, -7, -7]";
                assertEquals(expected, step.result(), where);
                assertEquals(List.of(), step.library(), where);
            }
        }

        List<Transcript.Step> present = transcript.phase("values-present");
        assertEquals(NativeCalls.ALL.size(), present.size());
        for (Transcript.Step step : present) {
            String where = "after the copy: " + step.method();
            assertEquals(List.of(), step.messages(), where);
            assertFalse(step.result().startsWith("threw"), where + " " + step.result());
            List<String> functions = NativeCalls.BY_METHOD.get(step.method()).functions();
            assertEquals(functions.size(), step.library().size(), where + " " + step.library());
            for (String function : functions)
                assertTrue(step.library().stream().anyMatch(line -> line.startsWith(function + "(")), where);
        }
        // The first call after the copy is the first that the record library ever sees.
        assertEquals(List.of("CreateNewNISTFile()"), present.get(0).library());
        assertEquals("0", present.get(0).result());
    }
}
