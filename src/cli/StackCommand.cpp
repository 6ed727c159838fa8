#include "StackCommand.h"

#include "CliArgs.h"
#include "FocusStack.h"
#include "Image.h"

#include <csignal>
#include <cstdio>
#include <future>
#include <memory>

namespace vimg::cli {

namespace {

// Progress lines on standard error from this many frames on.
constexpr size_t kLongStack = 4;

// Ctrl+C asks the running stack to stop through its escape flag (a relaxed
// atomic store, safe in a signal handler); no output is written then.
FocusStack* g_running = nullptr;

extern "C" void StopStacking(int) {
    if (g_running) g_running->SetEscape(1);
}

int Usage() {
    std::fprintf(stderr, "usage: vistorel-img stack OUT IN [IN...] [--depth-map FILE] [--align on|off]\n");
    return 2;
}

bool Save(Image& image, const std::string& path) {
    const uint32_t type = FormatFromExtension(path);
    if (image.Save(path.c_str(), type)) return true;
    std::fprintf(stderr, "vistorel-img: %s: %s\n", path.c_str(),
                 image.GetLastError()[0] ? image.GetLastError() : "cannot write the file");
    return false;
}

} // namespace

int StackCommand(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    std::string depthFile;
    FocusStackOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--depth-map" && hasValue) {
            depthFile = args[++i];
        } else if (a == "--align" && hasValue) {
            const std::string& v = args[++i];
            if (v != "on" && v != "off") {
                std::fprintf(stderr, "vistorel-img: --align takes on or off, not '%s'\n", v.c_str());
                return 2;
            }
            options.align = v == "on";
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "vistorel-img: unknown option '%s'\n", a.c_str());
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 2) return Usage();
    for (const std::string* out : {&files[0], &depthFile}) {
        if (!out->empty() && FormatFromExtension(*out) == 0) {
            std::fprintf(stderr, "vistorel-img: cannot tell the output format of '%s'\n", out->c_str());
            return 2;
        }
    }

    // Frames are read one at a time, the next while the current one is
    // merged, so a long stack holds two frames and the running result.
    FocusStack stack(options);
    g_running = &stack;
    const auto previous = std::signal(SIGINT, StopStacking);
    const auto finish = [&](int status) {
        std::signal(SIGINT, previous);
        g_running = nullptr;
        return status;
    };
    const auto load = [&files](size_t i) {
        auto frame = std::make_unique<Image>();
        if (!LoadImageFile(*frame, files[i]))
            std::fprintf(stderr, "vistorel-img: %s: %s\n", files[i].c_str(), frame->GetLastError());
        return frame;
    };
    const size_t count = files.size() - 1;
    std::future<std::unique_ptr<Image>> next = std::async(std::launch::async, load, 1);
    for (size_t i = 1; i <= count; ++i) {
        const std::unique_ptr<Image> frame = next.get();
        if (!frame->IsValid()) return finish(1);
        if (i < count) next = std::async(std::launch::async, load, i + 1);
        if (count >= kLongStack)
            std::fprintf(stderr, "vistorel-img: stacking frame %zu of %zu: %s\n", i, count, files[i].c_str());
        if (!stack.Add(*frame)) {
            std::fprintf(stderr, "vistorel-img: %s: %s\n", files[i].c_str(), stack.GetLastError().c_str());
            return finish(stack.GetEscape() ? 130 : 1);
        }
    }
    Image result, depth;
    if (!stack.GetResult(result) || (!depthFile.empty() && !stack.GetDepthMap(depth))) {
        std::fprintf(stderr, "vistorel-img: %s\n", stack.GetLastError().c_str());
        return finish(1);
    }
    if (!Save(result, files[0]) || (!depthFile.empty() && !Save(depth, depthFile))) return finish(1);
    return finish(0);
}

} // namespace vimg::cli
