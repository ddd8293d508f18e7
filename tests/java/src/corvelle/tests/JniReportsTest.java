package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * -Xcheck:jni only prints its reports, so every JVM test relies on someone reading them: the two
 * faults made on purpose must be reported, in the words looked for, on the stream that is read.
 */
class JniReportsTest {
    @ParameterizedTest
    @ValueSource(strings = {"canary-pending", "canary-critical"})
    void reportsAreSeen(String canary) throws Exception {
        ChildJvm.Result child = ChildJvm.run(ChildJvm.standin("full"), List.of(), Scenario.class, canary);
        assertEquals(0, child.exitCode(), child::text);
        assertEquals(1, child.jniWarnings().size(), child::text);
        assertTrue(child.out().stream().anyMatch(ChildJvm.JNI_WARNING.asPredicate()), "HotSpot reports on standard output");
    }
}
