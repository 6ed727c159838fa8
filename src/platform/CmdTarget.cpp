#include "CmdTarget.h"

#include <algorithm>

#include "CmdUI.h"

bool CCmdTarget::OnCmdMsg(int id, CCmdUI* pUI) { return HandleOwnCommand(id, pUI); }

void CCmdTarget::OnCommand(int id, Handler handler) { m_handlers[id] = std::move(handler); }

void CCmdTarget::OnCommandRange(int first, int last, RangeHandler handler) {
    m_ranges.push_back({first, last, std::move(handler), {}});
}

void CCmdTarget::OnUpdateCommand(int id, UpdateHandler handler) { m_updates[id] = std::move(handler); }

void CCmdTarget::OnUpdateCommandRange(int first, int last, UpdateHandler handler) {
    m_ranges.push_back({first, last, {}, std::move(handler)});
}

bool CCmdTarget::HandleOwnCommand(int id, CCmdUI* pUI) {
    if (pUI) {
        if (auto it = m_updates.find(id); it != m_updates.end()) {
            it->second(pUI);
            return true;
        }
        for (const Range& r : m_ranges)
            if (r.update && id >= r.first && id <= r.last) {
                r.update(pUI);
                return true;
            }
        const bool hasHandler =
            m_handlers.count(id) != 0 || std::any_of(m_ranges.begin(), m_ranges.end(), [id](const Range& r) {
                return r.handler && id >= r.first && id <= r.last;
            });
        if (hasHandler) pUI->Enable(true);
        return hasHandler;
    }
    if (auto it = m_handlers.find(id); it != m_handlers.end()) {
        // Copy: the handler may replace its own map entry.
        Handler h = it->second;
        h();
        return true;
    }
    for (const Range& r : m_ranges)
        if (r.handler && id >= r.first && id <= r.last) {
            RangeHandler h = r.handler;
            h(id);
            return true;
        }
    return false;
}
