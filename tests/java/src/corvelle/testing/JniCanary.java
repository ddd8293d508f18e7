package corvelle.testing;

/** The two faults that -Xcheck:jni reports, made on purpose so a test can see them being caught. */
public final class JniCanary {
    static {
        System.loadLibrary("velmora_standin_jni");
    }

    private JniCanary() {}

    /** Leaves IllegalStateException pending and then makes a JNI call. */
    public static native void callWithExceptionPending();

    /** Makes a JNI call inside a GetPrimitiveArrayCritical region. */
    public static native void callInsideCriticalRegion();
}
