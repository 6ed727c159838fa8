#include "ImageSteps.h"

#include "Image.h"
#include "OperationRegistry.h"

CImageSteps& CImageSteps::Add(std::string operation, std::vector<vops::Value> values) {
    m_steps.push_back({std::move(operation), std::move(values)});
    return *this;
}

std::string CImageSteps::Check() const {
    for (const Step& step : m_steps) {
        const vops::Operation* op = vops::BuiltinOperations().Find(step.operation);
        if (!op) return step.operation + ": no such operation";
        const vops::CheckResult checked = op->Check(step.values);
        if (!checked) return checked.error;
    }
    return {};
}

std::string CImageSteps::Run(vimg::Image& image) const {
    for (const Step& step : m_steps) {
        const vops::Operation* op = vops::BuiltinOperations().Find(step.operation);
        if (!op) return step.operation + ": no such operation";
        const vops::CheckResult checked = op->Check(step.values);
        if (!checked) return checked.error;
        const vops::Outcome outcome = op->Run(image, checked.arguments);
        if (!outcome.Ok()) return outcome.error;
    }
    return {};
}
