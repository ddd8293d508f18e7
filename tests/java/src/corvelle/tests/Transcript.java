package corvelle.tests;

import java.util.ArrayList;
import java.util.List;

/**
 * A child JVM's account of its native calls, written on standard error so that the bridge's message
 * lines land between the markers of the call that showed them:
 * <pre>
 * phase NAME
 * call METHOD
 * Error: ...                 (the bridge's messages, if any)
 * result METHOD OUTCOME
 * library LINE               (the stand-in's call log for that call, when it is loaded)
 * </pre>
 */
final class Transcript {
    record Step(String phase, String method, List<String> messages, String result, List<String> library) {}

    final List<Step> steps = new ArrayList<>();
    /** Lines outside every call: nothing of the bridge may land here. */
    final List<String> stray = new ArrayList<>();

    static Transcript parse(List<String> lines) {
        Transcript t = new Transcript();
        String phase = "";
        String method = null;
        List<String> messages = null;
        for (String line : lines) {
            if (method != null) {
                if (line.startsWith("result " + method + " ")) {
                    t.steps.add(new Step(phase, method, messages, line.substring(8 + method.length()), new ArrayList<>()));
                    method = null;
                } else {
                    messages.add(line);
                }
            } else if (line.startsWith("phase ")) {
                phase = line.substring(6);
            } else if (line.startsWith("call ")) {
                method = line.substring(5);
                messages = new ArrayList<>();
            } else if (line.startsWith("library ") && !t.steps.isEmpty()) {
                t.steps.get(t.steps.size() - 1).library().add(line.substring(8));
            } else {
                t.stray.add(line);
            }
        }
        if (method != null) t.stray.add("unfinished call " + method + ": " + messages);
        return t;
    }

    List<Step> phase(String name) {
        return steps.stream().filter(s -> s.phase().equals(name)).toList();
    }
}
