#include "framework/CCmdTarget.h"

const MessageEntry* MessageTable::Find(MessageEntry::Kind kind, UINT message, UINT id) const {
    for (const MessageTable* t = this; t; t = t->base) {
        for (const MessageEntry* e = t->first; e != t->last; ++e) {
            if (e->kind != kind || e->message != message) continue;
            if (kind != MessageEntry::kMessage && e->id != id) continue;
            return e;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT id) {
    const MessageTable* table = GetMessageTable();
    if (!table) return false;
    const MessageEntry* e = table->Find(MessageEntry::kCommand, WM_COMMAND, id);
    if (!e) return false;
    e->thunk(this, MAKEWPARAM(id, 0), 0);
    return true;
}
