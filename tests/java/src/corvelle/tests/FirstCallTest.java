package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;

import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.stream.Stream;
import org.junit.jupiter.api.RepeatedTest;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;

/** The first native calls of a fresh process, one at a time and from 32 threads at once. */
class FirstCallTest {
    static Stream<Arguments> firstCallOfTheProcess() {
        return Stream.of(
                Arguments.of("ReadNISTByteArray",
                        List.of("ReadSizeOfNISTByteArray()", "ReadNISTByteArray()")),
                Arguments.of("ReadRecordBinaryField",
                        List.of("ReadSizeOfRecordBinaryField(1, 1)", "ReadRecordBinaryField(1, 1)")),
                Arguments.of("CreateHBITMAPfromRecordBinaryField", List.of("CreateHBITMAPfromRecordBinaryField(1, 1)")),
                Arguments.of("ReadRecordTxtField", List.of("ReadRecordTxtField(1, 1, 2, \"\")")));
    }

    @ParameterizedTest(name = "{0}")
    @MethodSource
    void firstCallOfTheProcess(String method, List<String> calls) throws Exception {
        ChildJvm.Result child = ChildJvm.run(ChildJvm.standin("full"), List.of(), Scenario.class, "first-call", method)
                .assertClean();
        Transcript transcript = Transcript.parse(child.err());
        assertEquals(List.of(), transcript.stray, child::text);
        List<Transcript.Step> first = transcript.phase("first");
        List<Transcript.Step> again = transcript.phase("again");
        assertEquals(1, first.size(), child::text);
        assertEquals(List.of(), first.get(0).messages());
        assertEquals(calls, first.get(0).library());
        assertEquals(FIRST_RESULTS.get(method), first.get(0).result());

        assertEquals(first.get(0).result(), again.get(0).result());
        assertEquals(calls, again.get(0).library());
        if (again.size() > 1) {
            // The size method finds the size function that the byte-array read already looked up.
            Transcript.Step size = again.get(1);
            assertEquals(List.of(), size.messages());
            assertEquals(List.of(calls.get(0)), size.library());
        }
    }

    static final String HEADER_HEX = "312E3030313A33301D312E3030323A303530321D312E3030333A311F301C";

    static final Map<String, String> FIRST_RESULTS = Map.of(
            "ReadNISTByteArray", "bytes[30] " + HEADER_HEX,
            "ReadRecordBinaryField", "bytes[3] 0A141E",
            "CreateHBITMAPfromRecordBinaryField",
            "pixels[16711680, 65280, 255, 66051, 263430, 460809] dimensions[3, 2, -7]",
            "ReadRecordTxtField", "\"0502\"");

    /** What the untouched stand-in answers to each raced call. */
    static final Map<String, String> RACE_RESULTS = new LinkedHashMap<>();

    static {
        RACE_RESULTS.put("ReadNISTByteArray", "bytes[30] " + HEADER_HEX);
        RACE_RESULTS.put("ReadSizeOfNISTByteArray", "30");
        RACE_RESULTS.put("CheckIfRecordTypeExists", "1");
        RACE_RESULTS.put("ReadNumberOfRecords", "1");
        RACE_RESULTS.put("ReadIDCofRecord", "0");
        RACE_RESULTS.put("ReadRecordTxtField", "\"0502\"");
        RACE_RESULTS.put("ReadSizeOfRecordTxtField", "4");
        RACE_RESULTS.put("ReadRecordTxtFieldName", "\"VER\"");
        RACE_RESULTS.put("ReadSizeOfRecordTxtFieldName", "3");
        RACE_RESULTS.put("ReadRecordTxtFieldDescription", "\"1.002: Version number\"");
        RACE_RESULTS.put("ReadSizeOfRecordTxtFieldDescription", "21");
        RACE_RESULTS.put("ReadRecordExportedTxtFields", "\"1.002:0502\\u000A\"");
        RACE_RESULTS.put("ReadSizeOfRecordExportedTxtFields", "11");
        RACE_RESULTS.put("ReadRecordBinaryField", "bytes[0] ");
        RACE_RESULTS.put("ReadSizeOfRecordBinaryField", "0");
        RACE_RESULTS.put("ReadVelmoraLastErrorMessage", "\"\"");
    }

    /** 32 threads released at once into their first calls, each starting at another method. */
    @RepeatedTest(3)
    void thirtyTwoThreadsRacingTheFirstCalls() throws Exception {
        int threads = 32;
        ChildJvm.Result child = ChildJvm.run(ChildJvm.standin("full"), List.of(), Scenario.class, "race",
                Integer.toString(threads)).assertClean();
        assertEquals(List.of(), child.err(), "no message from any thread");
        List<String> expected = new ArrayList<>();
        for (int t = 0; t < threads; t++)
            for (int k = 0; k < Scenario.RACED.size(); k++) {
                String method = Scenario.RACED.get((t + k) % Scenario.RACED.size());
                expected.add("thread " + t + " " + method + " " + RACE_RESULTS.get(method));
            }
        assertEquals(expected, child.out());
    }
}
