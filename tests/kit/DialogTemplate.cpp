#include "tests/kit/DialogTemplate.h"

namespace testutil {

namespace {

struct Reader {
    const BYTE* p;
    const BYTE* end;
    bool ok = true;

    template <class T>
    T Get() {
        T value{};
        if (p + sizeof(T) > end) {
            ok = false;
            return value;
        }
        memcpy(&value, p, sizeof(T));
        p += sizeof(T);
        return value;
    }
    void AlignDword(const BYTE* base) {
        while ((p - base) % 4) ++p;
    }
    std::string WideString() {
        std::wstring w;
        for (WCHAR c; (c = Get<WCHAR>()) != 0 && ok;) w.push_back(c);
        if (w.empty()) return std::string();
        int n = WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(static_cast<size_t>(n), '\0');
        WideCharToMultiByte(1252, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
        return s;
    }
    // A name or an ordinal (0xFFFF then the number).
    std::string NameOrOrdinal(int* ordinal) {
        WORD first = Get<WORD>();
        if (first == 0) return std::string();
        if (first == 0xFFFF) {
            WORD n = Get<WORD>();
            if (ordinal) *ordinal = n;
            return "#" + std::to_string(n);
        }
        p -= sizeof(WORD);
        return WideString();
    }
};

std::string PredefinedClass(const std::string& name) {
    if (name == "#128") return "Button";
    if (name == "#129") return "Edit";
    if (name == "#130") return "Static";
    if (name == "#131") return "ListBox";
    if (name == "#132") return "ScrollBar";
    if (name == "#133") return "ComboBox";
    return name;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

}  // namespace

std::vector<WORD> ResourceLanguages(HMODULE module, LPCSTR type, UINT id) {
    std::vector<WORD> languages;
    EnumResourceLanguagesA(module, type, MAKEINTRESOURCEA(id), &CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

bool LoadDialogTemplate(HMODULE module, UINT id, DialogTemplate* out) {
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    if (!res) return false;
    HGLOBAL global = LoadResource(module, res);
    const BYTE* base = global ? static_cast<const BYTE*>(LockResource(global)) : nullptr;
    if (!base) return false;
    Reader r{base, base + SizeofResource(module, res)};

    DialogTemplate& t = *out;
    WORD version = r.Get<WORD>();
    WORD signature = r.Get<WORD>();
    t.extended = version == 1 && signature == 0xFFFF;
    if (t.extended) {
        r.Get<DWORD>();   // help id
        t.exStyle = r.Get<DWORD>();
        t.style = r.Get<DWORD>();
    } else {
        r.p = base;
        t.style = r.Get<DWORD>();
        t.exStyle = r.Get<DWORD>();
    }
    WORD count = r.Get<WORD>();
    t.x = r.Get<short>();
    t.y = r.Get<short>();
    t.cx = r.Get<short>();
    t.cy = r.Get<short>();
    t.menu = r.NameOrOrdinal(nullptr);
    t.className = r.NameOrOrdinal(nullptr);
    t.title = r.WideString();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = r.Get<WORD>();
        if (t.extended) {
            r.Get<WORD>();   // weight
            r.Get<BYTE>();   // italic
            r.Get<BYTE>();   // charset
        }
        t.face = r.WideString();
    }
    for (WORD i = 0; i < count && r.ok; ++i) {
        r.AlignDword(base);
        DialogItem item;
        if (t.extended) {
            r.Get<DWORD>();   // help id
            item.exStyle = r.Get<DWORD>();
            item.style = r.Get<DWORD>();
        } else {
            item.style = r.Get<DWORD>();
            item.exStyle = r.Get<DWORD>();
        }
        item.x = r.Get<short>();
        item.y = r.Get<short>();
        item.cx = r.Get<short>();
        item.cy = r.Get<short>();
        item.id = t.extended ? static_cast<int>(r.Get<DWORD>()) : static_cast<short>(r.Get<WORD>());
        item.className = PredefinedClass(r.NameOrOrdinal(nullptr));
        item.text = r.NameOrOrdinal(&item.textOrdinal);
        WORD extra = r.Get<WORD>();
        r.p += extra;
        t.items.push_back(item);
    }
    return r.ok;
}

}  // namespace testutil
