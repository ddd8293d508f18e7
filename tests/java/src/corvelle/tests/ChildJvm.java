package corvelle.tests;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assertions.fail;

import corvelle.Velmora;
import java.io.File;
import java.io.IOException;
import java.net.URISyntaxException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;
import java.util.concurrent.TimeUnit;
import java.util.regex.Pattern;

/**
 * A fresh JVM for scenarios that need a process of their own (the binding lives per process): the
 * same java, -Xcheck:jni unless told otherwise, this test's classes, and a library search path of
 * the test's choice.
 */
final class ChildJvm {
    private ChildJvm() {}

    /** What -Xcheck:jni prints instead of stopping the VM; HotSpot prints it on standard output. */
    static final Pattern JNI_WARNING = Pattern.compile(
            "WARNING in native method|Warning: Calling other JNI functions|FATAL ERROR in native method");

    record Result(int exitCode, List<String> out, List<String> err) {
        List<String> jniWarnings() {
            List<String> found = new ArrayList<>();
            for (List<String> lines : List.of(out, err))
                for (String line : lines)
                    if (JNI_WARNING.matcher(line).find()) found.add(line);
            return found;
        }

        String text() {
            return "exit " + exitCode + "\n--- stdout\n" + String.join("\n", out) + "\n--- stderr\n"
                    + String.join("\n", err);
        }

        /** Fails unless the child ended normally and -Xcheck:jni found nothing to say. */
        Result assertClean() {
            assertEquals(0, exitCode, () -> "child JVM failed\n" + text());
            assertTrue(jniWarnings().isEmpty(), () -> "-Xcheck:jni warned\n" + text());
            return this;
        }
    }

    /** The stand-in variant folder of the build: "full" or "without-Name". */
    static Path standin(String variant) {
        Path dir = Path.of(System.getProperty("velmora.standinRoot"), variant);
        assertTrue(Files.isRegularFile(dir.resolve("libVelmora64.so")), () -> "no stand-in in " + dir);
        return dir;
    }

    /** Whether the child runs under -Xcheck:jni, and variables added to its environment. */
    record Options(boolean checkJni, Map<String, String> environment) {
        static final Options CHECKED = new Options(true, Map.of());
    }

    static Result run(Path librarySearchPath, List<String> jvmOptions, Class<?> main, String... args)
            throws IOException, InterruptedException {
        return run(Options.CHECKED, librarySearchPath, jvmOptions, main, args);
    }

    static Result run(Options options, Path librarySearchPath, List<String> jvmOptions, Class<?> main, String... args)
            throws IOException, InterruptedException {
        List<String> command = new ArrayList<>();
        command.add(Path.of(System.getProperty("java.home"), "bin", "java").toString());
        if (options.checkJni()) command.add("-Xcheck:jni");
        command.addAll(jvmOptions);
        command.add("-Djava.library.path=" + System.getProperty("java.library.path"));
        command.add("-cp");
        command.add(location(main) + File.pathSeparator + location(Velmora.class));
        command.add(main.getName());
        command.addAll(List.of(args));

        Path out = Files.createTempFile("velmora-child", ".out");
        Path err = Files.createTempFile("velmora-child", ".err");
        try {
            ProcessBuilder builder = new ProcessBuilder(command).redirectOutput(out.toFile()).redirectError(err.toFile());
            builder.environment().put("LD_LIBRARY_PATH", librarySearchPath.toString());
            builder.environment().putAll(options.environment());
            Process process = builder.start();
            if (!process.waitFor(5, TimeUnit.MINUTES)) {
                process.destroyForcibly();
                fail("child JVM did not finish: " + String.join(" ", command));
            }
            return new Result(process.exitValue(), Files.readAllLines(out, StandardCharsets.UTF_8),
                    Files.readAllLines(err, StandardCharsets.UTF_8));
        } finally {
            Files.deleteIfExists(out);
            Files.deleteIfExists(err);
        }
    }

    private static String location(Class<?> type) {
        try {
            return Path.of(type.getProtectionDomain().getCodeSource().getLocation().toURI()).toString();
        } catch (URISyntaxException e) {
            throw new IllegalStateException(e);
        }
    }
}
