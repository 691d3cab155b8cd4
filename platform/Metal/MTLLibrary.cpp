#include "Metal/MTLLibrary.h"

#include <algorithm>

std::shared_ptr<MTLFunction> MTLLibrary::makeFunction(const std::string& name) const {
    if (std::find(names.begin(), names.end(), name) == names.end())
        return nullptr;
    const MTLShaderFunctionEntry* entry = MTLShaderFunctionTable::find(name);
    if (!entry)
        return nullptr;
    return make<MTLFunction>(name, *entry);
}
