#include "OperationRegistry.h"

#include <algorithm>
#include <stdexcept>

namespace vops {

void OperationRegistry::Add(Operation op) {
    if (Find(op.name)) throw std::logic_error("operation registered twice: " + op.name);
    m_operations.push_back(std::move(op));
}

const Operation* OperationRegistry::Find(std::string_view name) const {
    for (const Operation& op : m_operations)
        if (op.name == name) return &op;
    return nullptr;
}

std::vector<std::string> OperationRegistry::Names() const {
    std::vector<std::string> names;
    for (const Operation& op : m_operations)
        names.push_back(op.name);
    std::sort(names.begin(), names.end());
    return names;
}

void RegisterAllOperations(OperationRegistry& registry) {
    RegisterContainerOperations(registry);
    RegisterFilterOperations(registry);
    RegisterGeometryOperations(registry);
    RegisterColourOperations(registry);
}

const OperationRegistry& BuiltinOperations() {
    static const OperationRegistry registry = [] {
        OperationRegistry r;
        RegisterAllOperations(r);
        return r;
    }();
    return registry;
}

} // namespace vops
