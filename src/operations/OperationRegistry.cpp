#include "OperationRegistry.h"

#include <algorithm>
#include <stdexcept>

namespace vops {

void OperationRegistry::Add(Operation op) {
    if (Find(op.Name())) throw std::logic_error("operation registered twice: " + op.Name());
    m_operations.push_back(std::move(op));
}

const Operation* OperationRegistry::Find(std::string_view name) const {
    for (const Operation& op : m_operations)
        if (op.Name() == name) return &op;
    return nullptr;
}

std::vector<std::string> OperationRegistry::Names() const {
    std::vector<std::string> names;
    for (const Operation& op : m_operations) names.push_back(op.Name());
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
