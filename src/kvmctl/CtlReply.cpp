#include "kvmctl/CtlReply.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <vector>

#include "core/text/Utf.h"

namespace ctl {
namespace {

std::string scalarText(const rapidjson::Value& v) {
    if (v.IsString()) return {v.GetString(), v.GetStringLength()};
    if (v.IsBool()) return v.GetBool() ? "true" : "false";
    if (v.IsNull()) return "";
    if (v.IsInt64()) return std::to_string(v.GetInt64());
    if (v.IsUint64()) return std::to_string(v.GetUint64());
    if (v.IsNumber()) return std::to_string(v.GetDouble());
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    v.Accept(writer);
    return buffer.GetString();
}

// Columns are the members of every row in first-seen order; cells are padded to the widest.
void appendTable(std::string& out, const rapidjson::Value& rows) {
    std::vector<std::string> columns;
    for (const auto& row : rows.GetArray()) {
        if (!row.IsObject()) continue;
        for (const auto& m : row.GetObject()) {
            const std::string name = m.name.GetString();
            if (std::find(columns.begin(), columns.end(), name) == columns.end()) columns.push_back(name);
        }
    }
    std::vector<std::vector<std::string>> cells{columns};
    for (const auto& row : rows.GetArray()) {
        std::vector<std::string> line;
        for (const std::string& c : columns) {
            const auto it = row.IsObject() ? row.FindMember(c.c_str()) : row.MemberEnd();
            line.push_back(row.IsObject() && it != row.MemberEnd() ? scalarText(it->value) : scalarText(row));
        }
        cells.push_back(std::move(line));
    }
    std::vector<std::size_t> widths(columns.size(), 0);
    for (const auto& line : cells)
        for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            text += line[i];
            if (i + 1 < line.size()) text += std::string(widths[i] - line[i].size() + 2, ' ');
        }
        out += text + "\n";
    }
}

} // namespace

std::string_view errorCode(Exit exit) {
    switch (exit) {
    case Exit::Ok:
        return "ok";
    case Exit::Usage:
        return "usage";
    case Exit::NotFound:
        return "not_found";
    case Exit::Busy:
        return "busy";
    case Exit::Failed:
        return "failed";
    case Exit::Partly:
        return "partly_done";
    }
    return "failed";
}

rapidjson::Value jsonString(std::string_view text, rapidjson::Document::AllocatorType& alloc) {
    return rapidjson::Value(text.data(), static_cast<rapidjson::SizeType>(text.size()), alloc);
}

rapidjson::Value jsonString(std::wstring_view text, rapidjson::Document::AllocatorType& alloc) {
    return jsonString(std::string_view(common::text::toUtf8(text)), alloc);
}

rapidjson::Value errorObject(Exit exit, std::string_view message, rapidjson::Document::AllocatorType& alloc) {
    rapidjson::Value error(rapidjson::kObjectType);
    error.AddMember("code", jsonString(errorCode(exit), alloc), alloc);
    error.AddMember("message", jsonString(message, alloc), alloc);
    return error;
}

Reply Reply::error(Exit exit, std::string_view message) {
    Reply reply;
    reply.m_exit = exit;
    reply.add("error", errorObject(exit, message, reply.alloc()));
    return reply;
}

std::string Reply::json() const {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 2);
    m_doc.Accept(writer);
    std::string json;
    json.reserve(buffer.GetSize() + 1);
    json.append(buffer.GetString(), buffer.GetSize()).push_back('\n');
    return json;
}

std::string Reply::text() const {
    std::string out;
    for (const auto& m : m_doc.GetObject()) {
        const std::string name = m.name.GetString();
        if (m.value.IsArray()) {
            if (m_doc.MemberCount() > 1) out += name + ":\n";
            appendTable(out, m.value);
        } else if (m.value.IsObject()) {
            for (const auto& inner : m.value.GetObject())
                out += name + "." + inner.name.GetString() + ": " + scalarText(inner.value) + "\n";
        } else {
            out += name + ": " + scalarText(m.value) + "\n";
        }
    }
    return out;
}

} // namespace ctl
