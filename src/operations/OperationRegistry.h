// The operations by name. RegisterAllOperations lists every topic's table;
// BuiltinOperations is the registry it fills, built once on first use.
#pragma once

#include "Operation.h"

#include <string>
#include <string_view>
#include <vector>

namespace vops {

class OperationRegistry {
public:
    // A second operation of the same name is a fault in the tables: it throws std::logic_error.
    void Add(Operation op);
    const Operation* Find(std::string_view name) const;
    std::vector<std::string> Names() const; // sorted

private:
    std::vector<Operation> m_operations;
};

void RegisterAllOperations(OperationRegistry& registry);
const OperationRegistry& BuiltinOperations();

// The topic tables RegisterAllOperations calls.
void RegisterContainerOperations(OperationRegistry& registry);
void RegisterFilterOperations(OperationRegistry& registry);
void RegisterGeometryOperations(OperationRegistry& registry);
void RegisterColourOperations(OperationRegistry& registry);

} // namespace vops
