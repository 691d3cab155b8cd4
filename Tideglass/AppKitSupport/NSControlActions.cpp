#include "AppKitSupport/NSControlActions.h"

namespace TideglassDetail {

const void* trampolineKey() {
    // One byte allocated once: its address is the key.
    static const char* const key = new char(0);
    return key;
}

const void* publisherKey() {
    static const char key = 'P'; // "PublisherHelperKey"
    return &key;
}

} // namespace TideglassDetail
