// kvacc.exe: the controls of kvmulti's windows (or any program's) through Active Accessibility, from a
// script or a terminal.
//
//   kvacc list  [--process NAME | --class CLASS]            the accessible tree of the windows, as JSON
//   kvacc press CONTROL [--row N] [--process NAME | --class CLASS]   what a click on the control does
//   kvacc get   CONTROL [--row N] [--process NAME | --class CLASS]   its value, or its text when it has none
//   kvacc focus CONTROL [--row N] [--process NAME | --class CLASS]   the control takes the keyboard focus
//   kvacc press|get --row N [--process NAME | --class CLASS]         the same on the list item itself
//
// CONTROL is the control's name in the skin ("startBtn"); --row N looks only inside the N-th list item
// (0 the first), counted in tree order. Without a CONTROL, --row N is that list item: pressing it is a click
// on the row, as on its background. The windows are those of kvmulti.exe unless another process or a
// window class is named. Exit codes: 0 done, 1 wrong command line, 2 nothing or more than one control
// matched, 3 the control refused or the call failed.

#include <windows.h>

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <optional>
#include <string>
#include <vector>

#include "core/text/Utf.h"
#include "kvacc/RemoteAccessible_win.h"

using kvacc::Element;

namespace {

constexpr int kDone = 0;
constexpr int kUsage = 1;
constexpr int kNoMatch = 2;
constexpr int kFailed = 3;

void write(HANDLE to, const std::wstring& text) {
    DWORD mode = 0;
    if (GetConsoleMode(to, &mode)) {
        DWORD written = 0;
        WriteConsoleW(to, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const std::string bytes = common::text::toUtf8(text);
    DWORD written = 0;
    WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void out(const std::wstring& line) {
    write(GetStdHandle(STD_OUTPUT_HANDLE), line + L"\n");
}

int fail(int code, const std::wstring& message) {
    write(GetStdHandle(STD_ERROR_HANDLE), L"kvacc: " + message + L"\n");
    return code;
}

struct Options {
    std::wstring command;
    std::wstring control;
    std::optional<int> row;
    std::wstring process = L"kvmulti.exe";
    std::wstring className;
};

std::optional<Options> parse(int argc, wchar_t** argv, std::wstring& error) {
    Options o;
    std::vector<std::wstring> words(argv + 1, argv + argc);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::wstring& w = words[i];
        const bool hasNext = i + 1 < words.size();
        if ((w == L"--process" || w == L"--class" || w == L"--row") && !hasNext) {
            error = w + L" needs a value";
            return std::nullopt;
        }
        if (w == L"--process") {
            o.process = words[++i];
        } else if (w == L"--class") {
            o.className = words[++i];
            o.process.clear();
        } else if (w == L"--row") {
            wchar_t* end = nullptr;
            const long n = std::wcstol(words[++i].c_str(), &end, 10);
            if (*end || n < 0) {
                error = L"--row takes a number from 0";
                return std::nullopt;
            }
            o.row = static_cast<int>(n);
        } else if (o.command.empty()) {
            o.command = w;
        } else if (o.control.empty()) {
            o.control = w;
        } else {
            error = L"unexpected " + w;
            return std::nullopt;
        }
    }
    const bool named = o.command == L"press" || o.command == L"get" || o.command == L"focus";
    if (o.command != L"list" && !named)
        error = L"usage: kvacc list|press|get|focus [CONTROL] [--row N] [--process NAME|--class CLASS]";
    else if (named && o.control.empty() && !o.row)
        error = o.command + L" needs the control's name (as in the skin, e.g. startBtn) or a --row";
    else if (!named && !o.control.empty())
        error = L"list takes no control name";
    if (!error.empty()) return std::nullopt;
    return o;
}

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void key(Writer& w, const char* name, const std::wstring& value) {
    w.Key(name);
    const std::string text = common::text::toUtf8(value);
    w.String(text.c_str(), static_cast<rapidjson::SizeType>(text.size()));
}

void writeElement(Writer& w, const Element& e) {
    w.StartObject();
    const LONG role = e.role();
    key(w, "role", kvacc::roleName(role));
    key(w, "name", e.name());
    if (const std::wstring help = e.help(); !help.empty()) key(w, "help", help);
    if (kvacc::hasValue(role)) key(w, "value", e.value());
    w.Key("state");
    w.StartArray();
    for (const std::wstring& s : kvacc::stateNames(e.state())) {
        const std::string text = common::text::toUtf8(s);
        w.String(text.c_str());
    }
    w.EndArray();
    const RECT r = e.location();
    w.Key("location");
    w.StartArray();
    for (const LONG v : {r.left, r.top, r.right, r.bottom}) w.Int(v);
    w.EndArray();
    const std::vector<Element> kids = e.children();
    if (!kids.empty()) {
        w.Key("children");
        w.StartArray();
        for (const Element& kid : kids) writeElement(w, kid);
        w.EndArray();
    }
    w.EndObject();
}

int list(const std::vector<kvacc::TopWindow>& windows) {
    rapidjson::StringBuffer buffer;
    Writer w(buffer);
    w.SetIndent(' ', 2);
    w.StartArray();
    for (const kvacc::TopWindow& top : windows) {
        w.StartObject();
        wchar_t handle[32]{};
        wsprintfW(handle, L"0x%08IX", reinterpret_cast<ULONG_PTR>(top.hwnd));
        key(w, "window", handle);
        key(w, "class", top.className);
        key(w, "title", top.title);
        key(w, "process", top.processName);
        w.Key("pid");
        w.Uint(top.processId);
        if (const Element client = kvacc::clientOf(top.hwnd)) {
            w.Key("tree");
            writeElement(w, client);
        }
        w.EndObject();
    }
    w.EndArray();
    out(common::text::fromUtf8(buffer.GetString()));
    return kDone;
}

// The elements whose help is `name`, depth first; with a row, only inside that list item.
struct Search {
    const std::wstring& name;
    std::optional<int> row;
    int rowsSeen = 0;
    std::vector<Element> found;

    void walk(const Element& e, bool inRow) {
        for (const Element& kid : e.children()) {
            bool kidInRow = inRow;
            if (row && !inRow && kid.role() == ROLE_SYSTEM_LISTITEM) {
                if (rowsSeen++ != *row) continue; // another row: not worth its calls
                kidInRow = true;
                if (name.empty()) {
                    found.push_back(kid); // the row itself
                    continue;
                }
            }
            if ((!row || kidInRow) && kid.help() == name) found.push_back(kid);
            walk(kid, kidInRow);
        }
    }
};

int pressOrGet(const Options& o, const std::vector<kvacc::TopWindow>& windows) {
    Search search{o.control, o.row};
    for (const kvacc::TopWindow& top : windows) {
        search.rowsSeen = 0;
        if (const Element client = kvacc::clientOf(top.hwnd)) search.walk(client, false);
    }
    const std::wstring where = o.row ? L" in row " + std::to_wstring(*o.row) : L"";
    const std::wstring what = o.control.empty() ? L"row " + std::to_wstring(*o.row) : o.control + where;
    if (search.found.empty()) {
        std::wstring why = o.control.empty() ? L"no " + what : L"no control named " + what;
        if (o.row && search.rowsSeen <= *o.row)
            why += L" (the list has " + std::to_wstring(search.rowsSeen) + L" rows)";
        return fail(kNoMatch, why);
    }
    if (search.found.size() > 1)
        return fail(kNoMatch, std::to_wstring(search.found.size()) + L" matches for " + what +
                                  L"; choose one with --row N or --class CLASS");
    const Element& target = search.found.front();
    if (o.command == L"get") {
        const std::wstring value = kvacc::hasValue(target.role()) ? target.value() : target.name();
        out(value);
        return kDone;
    }
    const bool focus = o.command == L"focus";
    const HRESULT hr = focus ? target.takeFocus() : target.doDefaultAction();
    if (focus && hr == S_FALSE) return fail(kFailed, what + L" cannot take the focus now");
    if (FAILED(hr)) {
        wchar_t code[16]{};
        wsprintfW(code, L"0x%08X", static_cast<unsigned>(hr));
        return fail(kFailed, what + L" cannot be pressed now (" + code + L")");
    }
    return kDone;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring error;
    const auto options = parse(argc, argv, error);
    if (!options) return fail(kUsage, error);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return fail(kFailed, L"COM is not available");
    const auto windows = kvacc::topWindows(options->process, options->className);
    int code = kDone;
    if (windows.empty())
        code = fail(kNoMatch, L"no visible window of " + (options->className.empty() ? L"process " + options->process
                                                                                     : L"class " + options->className));
    else
        code = options->command == L"list" ? list(windows) : pressOrGet(*options, windows);
    CoUninitialize();
    return code;
}
