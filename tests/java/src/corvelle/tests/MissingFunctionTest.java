package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import java.util.stream.Stream;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.MethodSource;

/**
 * A record library that lacks one function, for each of the 26: the methods that need it show its
 * own lookup message on every call and give 0 or null without converting an argument or calling the
 * record library; every other method works, a String method without its size twin included.
 */
class MissingFunctionTest {
    static Stream<String> functions() {
        return NativeCalls.ALL.stream().map(NativeCalls.Call::method);
    }

    @ParameterizedTest(name = "without {0}")
    @MethodSource("functions")
    void onlyTheMethodsThatNeedItFail(String missing) throws Exception {
        ChildJvm.Result child = ChildJvm.run(ChildJvm.standin("without-" + missing), List.of(), Scenario.class, "rounds",
                "values-1", "values-2", "nulls").assertClean();
        Transcript transcript = Transcript.parse(child.err());
        assertEquals(List.of(), transcript.stray, child::text);
        assertEquals(3 * NativeCalls.ALL.size(), transcript.steps.size(), child::text);

        for (Transcript.Step step : transcript.steps) {
            NativeCalls.Call call = NativeCalls.BY_METHOD.get(step.method());
            String where = step.phase() + ": " + step.method();
            String failing = call.failingFunction(missing);
            if (failing != null) {
                assertEquals(List.of("Error: Unable to get " + failing + " function address"), step.messages(), where);
                String expected = Repr.of(call.failureValue());
                if (step.method().equals("CreateHBITMAPfromRecordBinaryField") && !step.phase().equals("nulls"))
                    expected = "null dimensions[-7, -7, -7]";
                assertEquals(expected, step.result(), where);
                assertEquals(List.of(), step.library(), where + ": nothing of the record library is called");
            } else if (step.phase().equals("nulls") && call.takesObjects()) {
                assertEquals(List.of(), step.messages(), where);
                assertEquals("threw java.lang.NullPointerException", step.result(), where);
                assertEquals(List.of(), step.library(), where);
            } else {
                assertEquals(List.of(), step.messages(), where);
                assertFalse(step.result().startsWith("threw"), where + " " + step.result());
                assertEquals(call.functions().size(), step.library().size(), where + " " + step.library());
                assertTrue(step.library().get(step.library().size() - 1).startsWith(call.method() + "("), where);
            }
        }

        // The record library's last error is its own: the bridge's messages are never recorded there.
        for (Transcript.Step step : transcript.steps)
            if (step.method().equals("ReadVelmoraLastErrorMessage"))
                assertFalse(step.result().contains("Unable"), step.result());
    }
}
