// Linked into every target: trace lines would only slow the runs down.
#include "platform/Trace.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetTraceEnabled(false);
    return 0;
}
