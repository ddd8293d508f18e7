# Runs JUnit test classes with the console launcher on a JVM under -Xcheck:jni, and fails when the
# launcher fails or when -Xcheck:jni reported anything: it only prints, it never stops the VM, and
# HotSpot prints these reports on standard output, so both streams are scanned.
#   JAVA, LAUNCHER, CLASS_PATH, LIBRARY_PATH, STANDIN_ROOT, REFUSE_MALLOC, CLASSES (comma-separated), PARALLEL
string(REPLACE "," ";" classes "${CLASSES}")
set(selection "")
foreach(class IN LISTS classes)
    list(APPEND selection "--select-class=${class}")
endforeach()
set(config "")
if(PARALLEL)
    list(APPEND config --config=junit.jupiter.execution.parallel.enabled=true
        --config=junit.jupiter.execution.parallel.mode.default=concurrent
        --config=junit.jupiter.execution.parallel.config.strategy=fixed
        --config=junit.jupiter.execution.parallel.config.fixed.parallelism=4)
endif()

execute_process(
    COMMAND "${JAVA}" -Xcheck:jni -Xmx512m "-Djava.library.path=${LIBRARY_PATH}"
        "-Dvelmora.standinRoot=${STANDIN_ROOT}" "-Dvelmora.refuseMalloc=${REFUSE_MALLOC}"
        -jar "${LAUNCHER}" --disable-banner --disable-ansi-colors --details=tree --fail-if-no-tests
        "--class-path=${CLASS_PATH}" ${selection} ${config}
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    RESULT_VARIABLE result)
message("${out}")
if(err)
    message("--- standard error\n${err}")
endif()

set(warnings "")
foreach(stream IN ITEMS out err)
    string(REGEX MATCHALL "[^\n]*(WARNING in native method|Warning: Calling other JNI functions|FATAL ERROR in native method)[^\n]*"
        found "${${stream}}")
    list(APPEND warnings ${found})
endforeach()
if(warnings)
    list(JOIN warnings "\n" text)
    message(FATAL_ERROR "-Xcheck:jni reported:\n${text}")
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "JUnit failed (${result})")
endif()
