// An object that handles commands by id: a handler runs the command, an
// update handler sets up its menu item or button. OnCmdMsg is the routing
// point that derived classes override to pass commands along.
#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

class CCmdUI;

class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(int id)>;
    using UpdateHandler = std::function<void(CCmdUI*)>;

    virtual ~CCmdTarget() = default;

    // With pUI null: runs the command. With pUI: runs the update handler, or
    // enables the item when only a command handler exists. True when handled.
    virtual bool OnCmdMsg(int id, CCmdUI* pUI);

protected:
    // The command map.
    void OnCommand(int id, Handler handler);
    void OnCommandRange(int first, int last, RangeHandler handler);
    void OnUpdateCommand(int id, UpdateHandler handler);
    void OnUpdateCommandRange(int first, int last, UpdateHandler handler);

    // Only this object's map, without routing.
    bool HandleOwnCommand(int id, CCmdUI* pUI);

private:
    struct Range {
        int first;
        int last;
        RangeHandler handler;
        UpdateHandler update;
    };
    std::unordered_map<int, Handler> m_handlers;
    std::unordered_map<int, UpdateHandler> m_updates;
    std::vector<Range> m_ranges;
};
