package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertTrue;

import java.util.List;
import org.junit.jupiter.api.Test;

/**
 * A million calls of every String and array method must not grow the process: a String's chars or
 * an array's elements kept once per call would add far more than the 4 MiB allowed. The heap is
 * fixed and touched up front, so that the Java heap's own growth does not count.
 */
class SoakTest {
    @Test
    void aMillionCallsLeaveResidentMemoryFlat() throws Exception {
        ChildJvm.Result child = ChildJvm.run(ChildJvm.standin("full"),
                List.of("-Xms96m", "-Xmx96m", "-XX:+AlwaysPreTouch", "-XX:+UseSerialGC"), Soak.class,
                "1000000", "300000").assertClean();
        String growth = child.out().stream().filter(l -> l.startsWith("rss-growth-kib ")).findFirst()
                .orElseThrow(() -> new AssertionError(child.text())).substring(15);
        long kib = Long.parseLong(growth);
        System.out.println("resident memory grew by " + kib + " KiB over a million calls");
        assertTrue(kib < 4096, "resident memory grew by " + kib + " KiB");
    }
}
