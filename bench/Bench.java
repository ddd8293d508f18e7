import com.sun.jna.Library;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Pointer;
import corvelle.Velmora;

import java.io.IOException;
import java.lang.management.ManagementFactory;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Random;
import java.util.Set;
import java.util.concurrent.BrokenBarrierException;
import java.util.concurrent.CyclicBarrier;

/**
 * Measures the bridge against baselines that make the same record-library calls and the same JNI
 * operations, side by side in one process: each round times one batch of every side of a case in
 * turn, and a ratio is the median of the rounds' ratios (the brackets give the middle half of
 * them). Warm-up runs every side before its case is timed. Targets are printed, never asserted.
 *
 * <p>Usage: java -Djava.library.path=BRIDGE_DIR:BENCH_DIR -cp velmora.jar:jna.jar:bench.jar Bench
 * [--machine] LIBRARY_DESCRIPTION. Whichever libVelmora64.so LD_LIBRARY_PATH finds is measured; the
 * description says which it is.
 */
public final class Bench {
    /** The batch of the small cases; the big copies get up to four times as long, to even out GC pauses. */
    static final long BATCH_NS = 25_000_000;
    static final long WARMUP_NS = 400_000_000;
    static final int ROUNDS = 15;
    static final int THREADS = 8;

    static final int TEXT = 2, IMAGE = 10;
    static final String ITEM = "item/of/twenty/chars";
    static final String FIELD = "a field of 20 chars.";

    /** One batch of calls; the result only keeps the calls' results alive. */
    interface Loop {
        long run(int calls);
    }

    record Side(String name, String does, Loop loop) {}

    static final List<String[]> summary = new ArrayList<>();
    static volatile long sink;

    public static void main(String[] args) throws Exception {
        boolean machine = args.length > 0 && args[0].equals("--machine");
        String library = String.join(" ", Arrays.copyOfRange(args, machine ? 1 : 0, args.length));
        if (machine) printMachine();

        String failure = Baseline.open();
        if (failure != null) throw new IllegalStateException("record library: " + failure);
        System.out.println();
        System.out.println("######## record library: " + library);

        // -Dbench.only=int,string,bytes,image,threads runs some of the cases.
        Set<String> only = Set.of(System.getProperty("bench.only", "int,string,bytes,image,threads").split(","));
        if (only.contains("int")) intMethod();
        if (only.contains("string")) stringMethod();
        if (only.contains("bytes")) for (int size : new int[] {64 << 10, 1 << 20, 16 << 20}) byteArray(size);
        if (only.contains("image")) image(2048, 2048);
        if (only.contains("threads")) threads();

        System.out.println();
        System.out.println("== summary, record library: " + library);
        for (String[] row : summary) System.out.printf("  %-52s %-24s %-16s %s%n", (Object[]) row);
    }

    // ---- the cases ----

    static void intMethod() {
        Baseline.reset();
        Baseline.steerInt("ReadNumberOfRecords", 7);
        expect("ReadNumberOfRecords", 7, Velmora.ReadNumberOfRecords(TEXT), Baseline.readNumberOfRecords(TEXT),
                Jna.library.ReadNumberOfRecords(TEXT), JnaDirect.ReadNumberOfRecords(TEXT));
        Side bridge = new Side("bridge", "Velmora.ReadNumberOfRecords: the bridge's frame, then the function",
                Bench::bridgeInt);
        Side baseline = new Side("baseline", "a native calling the same function through its own pointer",
                Bench::baselineInt);
        Side empty = new Side("empty", "a static native returning its argument: the JNI call alone",
                Bench::emptyInt);
        Side jna = new Side("JNA interface", "the same function through a JNA interface mapping", Bench::jnaInt);
        Side direct = new Side("JNA direct", "the same function through JNA direct mapping", Bench::jnaDirectInt);
        double[][] t = measure("int method: ReadNumberOfRecords(2), steered to return 7", BATCH_NS,
                bridge, baseline, empty, jna, direct);
        ratio("int: bridge / baseline", t[0], t[1], "<= 1.15", 1.15, true);
        ratio("int: bridge / empty native", t[0], t[2], null, 0, true);
        ratio("int: JNA interface / bridge", t[3], t[0], null, 0, true);
        ratio("int: JNA direct / bridge", t[4], t[0], null, 0, true);
    }

    static void stringMethod() {
        if (ITEM.length() != 20 || FIELD.length() != 20) throw new AssertionError("20 chars each");
        Baseline.reset();
        Baseline.steerString("ReadRecordTxtField", FIELD.getBytes(StandardCharsets.US_ASCII));
        expect("ReadRecordTxtField", FIELD, Velmora.ReadRecordTxtField(1, 1, 2, ITEM),
                Baseline.readRecordTxtField(1, 1, 2, ITEM), Jna.library.ReadRecordTxtField(1, 1, 2, ITEM),
                JnaDirect.ReadRecordTxtField(1, 1, 2, ITEM));
        Side bridge = new Side("bridge", "Velmora.ReadRecordTxtField: frame, checks, the same JNI operations",
                Bench::bridgeString);
        Side baseline = new Side("baseline",
                "GetStringUTFChars, the function, NewStringUTF, ReleaseStringUTFChars", Bench::baselineString);
        Side jna = new Side("JNA interface", "the same function through a JNA interface mapping", Bench::jnaString);
        Side direct = new Side("JNA direct", "the same function through JNA direct mapping", Bench::jnaDirectString);
        double[][] t = measure("String method: ReadRecordTxtField(1, 1, 2, 20-char item) giving 20 chars",
                BATCH_NS, bridge, baseline, jna, direct);
        ratio("String: bridge / baseline", t[0], t[1], "<= 1.10", 1.10, true);
        ratio("String: JNA interface / bridge", t[2], t[0], null, 0, true);
        ratio("String: JNA direct / bridge", t[3], t[0], null, 0, true);
    }

    static void byteArray(int size) {
        byte[] bytes = new byte[size];
        new Random(size).nextBytes(bytes);
        Baseline.reset();
        Baseline.steerBytes("ReadNISTByteArray", bytes);
        Baseline.steerInt("ReadSizeOfNISTByteArray", size);
        byte[] viaJna = Jna.library.ReadNISTByteArray().getByteArray(0, Jna.library.ReadSizeOfNISTByteArray());
        byte[] viaDirect = JnaDirect.ReadNISTByteArray().getByteArray(0, JnaDirect.ReadSizeOfNISTByteArray());
        for (byte[] got : List.of(Velmora.ReadNISTByteArray(), Baseline.readNISTByteArray(),
                Baseline.readNISTByteArraySetRegion(), Baseline.readNISTByteArrayCritical(), viaJna, viaDirect))
            if (!Arrays.equals(got, bytes)) throw new AssertionError("ReadNISTByteArray gave other bytes");
        if (Baseline.readNISTByteArrayIntoNative() != (bytes[size - 1] & 0xFF))
            throw new AssertionError("the native copy gave another last byte");

        String label = size >= 1 << 20 ? (size >> 20) + " MiB" : (size >> 10) + " KiB";
        Side bridge = new Side("bridge", "Velmora.ReadNISTByteArray: frame, size, read, conversion",
                Bench::bridgeBytes);
        Side baseline = new Side("baseline",
                "size, read, NewByteArray + GetByteArrayElements + memcpy + Release(0)", Bench::baselineBytes);
        Side floor = new Side("floor", "size, read, memcpy into a native buffer kept from call to call",
                Bench::floorBytes);
        Side setRegion = new Side("SetByteArrayRegion", "size, read, NewByteArray + SetByteArrayRegion",
                Bench::setRegionBytes);
        Side critical = new Side("critical",
                "size, read, NewByteArray + GetPrimitiveArrayCritical + memcpy + Release", Bench::criticalBytes);
        Side jna = new Side("JNA interface", "size, read, Pointer.getByteArray, interface mapping", Bench::jnaBytes);
        Side direct = new Side("JNA direct", "size, read, Pointer.getByteArray, direct mapping",
                Bench::jnaDirectBytes);
        double[][] t = measure("byte-array result: ReadNISTByteArray of " + label,
                BATCH_NS * Math.max(1, Math.min(4, size >> 19)),
                bridge, baseline, floor, setRegion, critical, jna, direct);
        ratio("bytes " + label + ": bridge / baseline", t[0], t[1], "<= 1.05", 1.05, true);
        ratio("bytes " + label + ": bridge / memcpy floor", t[0], t[2], null, 0, true);
        ratio("bytes " + label + ": SetByteArrayRegion / floor", t[3], t[2], null, 0, true);
        ratio("bytes " + label + ": critical copy / floor", t[4], t[2], null, 0, true);
        ratio("bytes " + label + ": JNA interface / bridge", t[5], t[0], null, 0, true);
        ratio("bytes " + label + ": JNA direct / bridge", t[6], t[0], null, 0, true);
        System.out.printf("  throughput: bridge %.1f GB/s, baseline %.1f GB/s, floor %.1f GB/s%n",
                size / median(t[0]), size / median(t[1]), size / median(t[2]));
    }

    static final int[] dimensions = new int[2];

    static void image(int width, int height) {
        int[] pixels = new int[width * height];
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++) pixels[y * width + x] = (x & 0xFF) << 16 | (y & 0xFF) << 8 | (x ^ y) & 0xFF;
        Baseline.reset();
        Baseline.steerBitmap(width, height, 32, pixels);
        int[] got = Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, IMAGE, 1);
        if (got == null || dimensions[0] != width || dimensions[1] != height
                || !Arrays.equals(got, pixels)) throw new AssertionError("the bridge read other pixels");
        int[] inline = new int[2];
        if (!Arrays.equals(Baseline.readBitmapIntoIntArray(inline, IMAGE, 1), pixels)
                || !Arrays.equals(inline, dimensions)) throw new AssertionError("the inline read gave other pixels");
        if (Baseline.readBitmapIntoNative(IMAGE, 1) != pixels[pixels.length - 1])
            throw new AssertionError("the native read gave another last pixel");
        imagePixels = width * height;

        Side bridge = new Side("bridge", "Velmora.CreateHBITMAPfromRecordBinaryField: bitmap, NewIntArray, GetDIBits",
                Bench::bridgeImage);
        Side baseline = new Side("baseline",
                "the same function, GetDIBits into a native buffer, DeleteObject", Bench::baselineImage);
        Side inlined = new Side("inline", "the bridge's JNI and GDI operations inline, without its checks",
                Bench::inlineImage);
        Side newArray = new Side("NewIntArray", "NewIntArray of as many pixels alone: allocation and zeroing",
                Bench::newIntArray);
        double[][] t = measure("image: CreateHBITMAPfromRecordBinaryField at " + width + " x " + height
                + ", 32 bits per pixel", 4 * BATCH_NS, bridge, baseline, inlined, newArray);
        ratio("image " + width + "x" + height + ": bridge / baseline", t[0], t[1], "<= 1.10", 1.10, true);
        ratio("image " + width + "x" + height + ": bridge / inline", t[0], t[2], null, 0, true);
        double[] sum = new double[ROUNDS];
        for (int i = 0; i < ROUNDS; i++) sum[i] = t[1][i] + t[3][i];
        ratio("image " + width + "x" + height + ": bridge / (baseline + NewIntArray)", t[0], sum, null, 0, true);
    }

    static int imagePixels;

    static void threads() throws Exception {
        Baseline.reset();
        Baseline.steerInt("ReadNumberOfRecords", 7);
        System.out.println();
        System.out.println("== " + THREADS + " threads at once against one, calling ReadNumberOfRecords(2)");
        double[] bridge = scaling("bridge", Bench::bridgeInt);
        double[] baseline = scaling("baseline", Bench::baselineInt);
        ratio(THREADS + " threads / 1, bridge (throughput)", bridge, null, ">= 6", 6, false);
        ratio(THREADS + " threads / 1, baseline (throughput)", baseline, null, null, 0, false);
    }

    // ---- the loops: one method per side, so that each is compiled on its own ----

    static long bridgeInt(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Velmora.ReadNumberOfRecords(TEXT);
        return s;
    }

    static long baselineInt(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readNumberOfRecords(TEXT);
        return s;
    }

    static long emptyInt(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.empty(i);
        return s;
    }

    static long jnaInt(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Jna.library.ReadNumberOfRecords(TEXT);
        return s;
    }

    static long jnaDirectInt(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += JnaDirect.ReadNumberOfRecords(TEXT);
        return s;
    }

    static long bridgeString(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Velmora.ReadRecordTxtField(1, 1, 2, ITEM).length();
        return s;
    }

    static long baselineString(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readRecordTxtField(1, 1, 2, ITEM).length();
        return s;
    }

    static long jnaString(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Jna.library.ReadRecordTxtField(1, 1, 2, ITEM).length();
        return s;
    }

    static long jnaDirectString(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += JnaDirect.ReadRecordTxtField(1, 1, 2, ITEM).length();
        return s;
    }

    static long bridgeBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Velmora.ReadNISTByteArray().length;
        return s;
    }

    static long baselineBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readNISTByteArray().length;
        return s;
    }

    static long floorBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readNISTByteArrayIntoNative();
        return s;
    }

    static long setRegionBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readNISTByteArraySetRegion().length;
        return s;
    }

    static long criticalBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readNISTByteArrayCritical().length;
        return s;
    }

    static long jnaBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) {
            int n = Jna.library.ReadSizeOfNISTByteArray();
            s += Jna.library.ReadNISTByteArray().getByteArray(0, n).length;
        }
        return s;
    }

    static long jnaDirectBytes(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) {
            int n = JnaDirect.ReadSizeOfNISTByteArray();
            s += JnaDirect.ReadNISTByteArray().getByteArray(0, n).length;
        }
        return s;
    }

    static long bridgeImage(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Velmora.CreateHBITMAPfromRecordBinaryField(dimensions, IMAGE, 1).length;
        return s;
    }

    static long inlineImage(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readBitmapIntoIntArray(dimensions, IMAGE, 1).length;
        return s;
    }

    static long newIntArray(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.newIntArray(imagePixels).length;
        return s;
    }

    static long baselineImage(int calls) {
        long s = 0;
        for (int i = 0; i < calls; i++) s += Baseline.readBitmapIntoNative(IMAGE, 1);
        return s;
    }

    // ---- JNA: the peer a Java developer would pick instead of a bridge ----

    public interface RecordLibrary extends Library {
        int ReadNumberOfRecords(int recordType);
        String ReadRecordTxtField(int recordType, int record, int field, String item);
        int ReadSizeOfNISTByteArray();
        Pointer ReadNISTByteArray();
    }

    static final class Jna {
        static final RecordLibrary library = Native.load("Velmora64", RecordLibrary.class);
    }

    static final class JnaDirect {
        static {
            Native.register(JnaDirect.class, NativeLibrary.getInstance("Velmora64"));
        }

        static native int ReadNumberOfRecords(int recordType);
        static native String ReadRecordTxtField(int recordType, int record, int field, String item);
        static native int ReadSizeOfNISTByteArray();
        static native Pointer ReadNISTByteArray();
    }

    // ---- measuring ----

    /** Times the sides round by round; gives each side's nanoseconds per call, one value per round. */
    static double[][] measure(String title, long batchNs, Side... sides) {
        System.out.println();
        System.out.println("== " + title);
        int[] calls = new int[sides.length];
        for (int i = 0; i < sides.length; i++) calls[i] = warmUp(sides[i].loop(), batchNs);
        double[][] times = new double[sides.length][ROUNDS];
        for (int round = 0; round < ROUNDS; round++) {
            // Each round starts with another side, so that no side always follows the same one.
            for (int k = 0; k < sides.length; k++) {
                int i = (round + k) % sides.length;
                // Big results fill the heap quickly: each batch starts from the same empty heap, so
                // that each pays for the collections of its own garbage, not its neighbour's.
                if (batchNs > BATCH_NS) System.gc();
                times[i][round] = (double) time(sides[i].loop(), calls[i]) / calls[i];
            }
        }
        for (int i = 0; i < sides.length; i++)
            System.out.printf("  %-18s %12s  %s%n", sides[i].name(), nanos(median(times[i])), sides[i].does());
        return times;
    }

    /** Runs the loop for WARMUP_NS in growing batches; gives the batch size that takes about batchNs. */
    static int warmUp(Loop loop, long batchNs) {
        long start = System.nanoTime();
        int calls = 1;
        long elapsed;
        double perCall;
        do {
            long t = time(loop, calls);
            perCall = (double) Math.max(t, 1) / calls;
            if (t < batchNs / 4 && calls < (1 << 28)) calls *= 2;
            elapsed = System.nanoTime() - start;
        } while (elapsed < WARMUP_NS);
        return (int) Math.max(1, Math.min(1 << 28, batchNs / perCall));
    }

    static long time(Loop loop, int calls) {
        long start = System.nanoTime();
        sink += loop.run(calls);
        return System.nanoTime() - start;
    }

    /**
     * Per round: the throughput of THREADS threads running the loop at once over that of one thread.
     * Each thread calls for the same stretch of time, in short batches, and the calls of all threads
     * are counted: a thread that the scheduler leaves sharing a CPU for a while costs what it really
     * costs, instead of holding up a fixed amount of work.
     */
    static double[] scaling(String name, Loop loop) throws Exception {
        int batch = Math.max(1, warmUp(loop, BATCH_NS) / 1000);
        Crew one = new Crew(1, loop, batch), many = new Crew(THREADS, loop, batch);
        for (int i = 0; i < 3; i++) {
            one.run();
            many.run();
        }
        double[] ratios = new double[ROUNDS];
        double[] oneRate = new double[ROUNDS], manyRate = new double[ROUNDS];
        for (int round = 0; round < ROUNDS; round++) {
            oneRate[round] = one.run();
            manyRate[round] = many.run();
            ratios[round] = manyRate[round] / oneRate[round];
        }
        one.stop();
        many.stop();
        System.out.printf("  %-18s 1 thread: %s per call; %d threads: %s per call overall%n", name,
                nanos(1 / median(oneRate)), THREADS, nanos(1 / median(manyRate)));
        return ratios;
    }

    /** Threads that call the loop in batches from a common start until told to stop. */
    static final class Crew {
        static final long STRETCH_MS = 50;
        final CyclicBarrier start, end;
        final List<Thread> threads = new ArrayList<>();
        final long[] calls;
        volatile boolean stopping, quitting;

        Crew(int size, Loop loop, int batch) {
            start = new CyclicBarrier(size + 1);
            end = new CyclicBarrier(size + 1);
            calls = new long[size * 16];  // one slot per cache line
            for (int i = 0; i < size; i++) {
                int slot = i * 16;
                Thread thread = new Thread(() -> {
                    try {
                        while (true) {
                            start.await();
                            if (quitting) return;
                            long n = 0, s = 0;
                            while (!stopping) {
                                s += loop.run(batch);
                                n += batch;
                            }
                            sink += s;
                            calls[slot] = n;
                            end.await();
                        }
                    } catch (InterruptedException | BrokenBarrierException e) {
                        throw new IllegalStateException(e);
                    }
                });
                thread.setDaemon(true);
                thread.start();
                threads.add(thread);
            }
        }

        /** Calls per nanosecond of all threads together over one stretch. */
        double run() throws Exception {
            stopping = false;
            start.await();
            long t0 = System.nanoTime();
            Thread.sleep(STRETCH_MS);
            stopping = true;
            end.await();
            long elapsed = System.nanoTime() - t0;
            long total = 0;
            for (long n : calls) total += n;
            return (double) total / elapsed;
        }

        void stop() throws Exception {
            quitting = true;
            start.await();
            for (Thread thread : threads) thread.join();
        }
    }

    // ---- results ----

    /** Prints and records a ratio: of a over b round by round, or the given per-round ratios when b is null. */
    static void ratio(String name, double[] a, double[] b, String target, double limit, boolean atMost) {
        double[] r = new double[a.length];
        for (int i = 0; i < a.length; i++) r[i] = b == null ? a[i] : a[i] / b[i];
        double[] sorted = r.clone();
        Arrays.sort(sorted);
        double median = median(r), low = sorted[sorted.length / 4], high = sorted[(3 * sorted.length) / 4];
        String verdict = target == null ? "reported" : (atMost ? median <= limit : median >= limit) ? "met" : "MISSED";
        String figure = String.format(Locale.ROOT, "%.2fx [%.2f .. %.2f]", median, low, high);
        String targetText = target == null ? "" : "target " + target;
        System.out.printf("  %-52s %-24s %-16s %s%n", name, figure, targetText, verdict);
        summary.add(new String[] {name, figure, targetText, verdict});
    }

    static double median(double[] values) {
        double[] sorted = values.clone();
        Arrays.sort(sorted);
        int n = sorted.length;
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }

    static String nanos(double ns) {
        if (ns < 10_000) return String.format(Locale.ROOT, "%.1f ns", ns);
        if (ns < 10_000_000) return String.format(Locale.ROOT, "%.1f us", ns / 1e3);
        return String.format(Locale.ROOT, "%.2f ms", ns / 1e6);
    }

    @SafeVarargs
    static <T> void expect(String function, T expected, T... got) {
        for (T value : got)
            if (!expected.equals(value)) throw new AssertionError(function + " gave " + value + ", not " + expected);
    }

    // ---- the machine ----

    static void printMachine() throws IOException {
        String model = "unknown";
        int logical = 0;
        Set<String> cores = new HashSet<>();
        String physical = "", core = "";
        boolean virtual = false;
        for (String line : Files.readAllLines(Path.of("/proc/cpuinfo"))) {
            String[] kv = line.split(":", 2);
            if (kv.length < 2) continue;
            String key = kv[0].trim(), value = kv[1].trim();
            switch (key) {
                case "processor" -> logical++;
                case "model name" -> model = value;
                case "flags" -> virtual = Arrays.asList(value.split(" ")).contains("hypervisor");
                case "physical id" -> physical = value;
                case "core id" -> {
                    core = value;
                    cores.add(physical + "/" + core);
                }
                default -> {}
            }
        }
        System.out.printf("Machine: %s, %d cores, %d logical CPUs%s; %s %s%n", model,
                cores.isEmpty() ? logical : cores.size(), logical, virtual ? ", a virtual machine" : "",
                System.getProperty("os.name"), System.getProperty("os.version"));
        System.out.printf("JVM: %s %s (Java %s), flags: %s%n", System.getProperty("java.vm.name"),
                System.getProperty("java.vm.version"), System.getProperty("java.version"),
                String.join(" ", ManagementFactory.getRuntimeMXBean().getInputArguments()));
        System.out.printf("Method: %d rounds, each timing one batch of %d to %d ms per side, after %d ms of warm-up "
                + "per side;%n        a ratio is the median of the rounds' ratios, [the middle half of them]%n", ROUNDS,
                BATCH_NS / 1_000_000, 4 * BATCH_NS / 1_000_000, WARMUP_NS / 1_000_000);
    }
}
