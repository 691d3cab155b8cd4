#include "Metal/MTLShaderFunctions.h"

#include <mutex>
#include <shared_mutex>

namespace {
// The process's shader functions: filled by the packages that define them.
struct Table {
    std::shared_mutex lock;
    std::vector<MTLShaderFunctionEntry> entries;
};
Table& table() {
    static Table t;
    return t;
}
} // namespace

void MTLShaderFunctionTable::add(std::span<const MTLShaderFunctionEntry> entries) {
    Table& t = table();
    std::unique_lock guard(t.lock);
    for (const MTLShaderFunctionEntry& e : entries) {
        bool present = false;
        for (const MTLShaderFunctionEntry& known : t.entries)
            present = present || known.name == e.name;
        if (!present)
            t.entries.push_back(e);
    }
}

const MTLShaderFunctionEntry* MTLShaderFunctionTable::find(std::string_view name) {
    Table& t = table();
    std::shared_lock guard(t.lock);
    for (const MTLShaderFunctionEntry& e : t.entries)
        if (e.name == name)
            return &e;
    return nullptr;
}
