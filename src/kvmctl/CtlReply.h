#pragma once
// What a console command answers: a JSON document on standard output and an exit code. Every error has the
// same shape, {"error": {"code": "...", "message": "..."}}, and its code decides the exit code, so scripts
// can branch on either.

#include <rapidjson/document.h>

#include <string>
#include <string_view>

namespace ctl {

enum class Exit : int {
    Ok = 0,
    Usage = 1,
    NotFound = 2,
    Busy = 3, // busy or running
    Failed = 4,
    Partly = 5, // some of several instances done, some not
};

// The error code word of an exit code: "usage", "not_found", "busy", "failed", "partly_done".
std::string_view errorCode(Exit exit);

class Reply {
public:
    Reply() { m_doc.SetObject(); }
    static Reply error(Exit exit, std::string_view message);

    rapidjson::Document& doc() { return m_doc; }
    const rapidjson::Document& doc() const { return m_doc; }
    rapidjson::Document::AllocatorType& alloc() { return m_doc.GetAllocator(); }
    Exit exit() const { return m_exit; }
    void setExit(Exit exit) { m_exit = exit; }

    // Adds a member to the top object (names must outlive the document: string literals).
    void add(const char* name, rapidjson::Value value) {
        m_doc.AddMember(rapidjson::StringRef(name), value, m_doc.GetAllocator());
    }

    // Pretty-printed JSON, or the readable form: a table for a list of objects, "name: value" lines else.
    std::string json() const;
    std::string text() const;

private:
    rapidjson::Document m_doc;
    Exit m_exit = Exit::Ok;
};

// A JSON string value copied from UTF-8 or wide text.
rapidjson::Value jsonString(std::string_view text, rapidjson::Document::AllocatorType& alloc);
rapidjson::Value jsonString(std::wstring_view text, rapidjson::Document::AllocatorType& alloc);

// {"code": ..., "message": ...} for one failed item of several.
rapidjson::Value errorObject(Exit exit, std::string_view message, rapidjson::Document::AllocatorType& alloc);

} // namespace ctl
