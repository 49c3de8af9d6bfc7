#include "core/storage/ConfigDocument.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <system_error>
#include <vector>

#include "core/files/AtomicFile.h"
#include "core/files/DamagedFile.h"
#include "core/files/Directories.h"
#include "core/formats/FileBytes.h"
#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace common {
namespace {

const rapidjson::Value& sharedNull() {
    static const rapidjson::Value null;
    return null;
}

rapidjson::SizeType jsonLength(std::size_t n) {
    return static_cast<rapidjson::SizeType>(n);
}

// Numbers of any JSON kind as a 32-bit integer: integers keep their low 32 bits, fractions are cut toward
// zero and clamped.
int numberAsInt(const rapidjson::Value& v, int fallback) {
    if (v.IsInt()) return v.GetInt();
    if (v.IsUint()) return static_cast<int>(v.GetUint());
    if (v.IsInt64()) return static_cast<int>(static_cast<std::uint32_t>(v.GetInt64()));
    if (v.IsUint64()) return static_cast<int>(static_cast<std::uint32_t>(v.GetUint64()));
    if (v.IsDouble()) {
        const double d = v.GetDouble();
        if (std::isnan(d)) return fallback;
        if (d >= 2147483647.0) return 2147483647;
        if (d <= -2147483648.0) return -2147483647 - 1;
        return static_cast<int>(d);
    }
    return fallback;
}

// A "\uD800"-style escape with no partner decodes to the three-byte form of a lone surrogate, which is not
// UTF-8: the next load of what we saved would reject the whole file. Such characters become U+FFFD.
bool hasLoneSurrogate(const char* s, std::size_t n) {
    for (std::size_t i = 0; i + 1 < n; ++i)
        if (static_cast<unsigned char>(s[i]) == 0xED && static_cast<unsigned char>(s[i + 1]) >= 0xA0) return true;
    return false;
}

void repairString(rapidjson::Value& v, rapidjson::Document::AllocatorType& allocator) {
    if (!hasLoneSurrogate(v.GetString(), v.GetStringLength())) return;
    const std::string repaired = text::toUtf8(text::fromUtf8(std::string_view(v.GetString(), v.GetStringLength())));
    v.SetString(repaired.data(), static_cast<rapidjson::SizeType>(repaired.size()), allocator);
}

// A number too long for a double parses as infinity, which JSON cannot write back: it becomes the largest
// finite double of its sign.
void repairNumber(rapidjson::Value& v) {
    const double d = v.GetDouble();
    if (std::isnan(d))
        v.SetDouble(0);
    else if (std::isinf(d))
        v.SetDouble(d > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max());
}

// Makes every value writable again, so that saving what was loaded never produces a file the next load
// rejects. Iterative, like the parse: a deeply nested document must not exhaust the stack. Only a "\u" escape
// can make a lone surrogate, so the strings of a text without one are left unread.
void repairValues(rapidjson::Value& root, rapidjson::Document::AllocatorType& allocator, std::string_view text) {
    const bool strings = text.find("\\u") != std::string_view::npos;
    std::vector<rapidjson::Value*> pending{&root};
    while (!pending.empty()) {
        rapidjson::Value* v = pending.back();
        pending.pop_back();
        if (v->IsString()) {
            if (strings) repairString(*v, allocator);
        } else if (v->IsDouble()) {
            repairNumber(*v);
        } else if (v->IsObject()) {
            auto members = v->MemberBegin();
            for (rapidjson::SizeType i = 0; i < v->MemberCount(); ++i) {
                if (strings) repairString(members[i].name, allocator);
                pending.push_back(&members[i].value);
            }
        } else if (v->IsArray()) {
            for (rapidjson::SizeType i = 0; i < v->Size(); ++i) pending.push_back(&(*v)[i]);
        }
    }
}

// Values of another document's allocator become this one's: first member of the name replaced, or appended.
void assignMember(rapidjson::Document& doc, std::string_view key, const rapidjson::Value& value) {
    auto& allocator = doc.GetAllocator();
    for (auto it = doc.MemberBegin(); it != doc.MemberEnd(); ++it) {
        if (std::string_view(it->name.GetString(), it->name.GetStringLength()) == key) {
            it->value.CopyFrom(value, allocator);
            return;
        }
    }
    rapidjson::Value name(key.data(), jsonLength(key.size()), allocator);
    rapidjson::Value copy(value, allocator);
    doc.AddMember(name, copy, allocator);
}

// Large enough for any settings file; what is larger is not one of ours.
constexpr std::uint64_t kMaxFileBytes = 64u * 1024u * 1024u;

enum class FileState { Missing, Parsed, Damaged };

// The file's object, or why there is none. A file that exists but cannot be read counts as damaged.
FileState readObject(const std::filesystem::path& path, rapidjson::Document& out) {
    // Opened directly: only a file that could not be read is asked whether it is there at all.
    const auto bytes = formats::readFileBytes(path, kMaxFileBytes);
    if (!bytes) {
        std::error_code ec;
        const bool exists = std::filesystem::exists(path, ec);
        return !exists && !ec ? FileState::Missing : FileState::Damaged;
    }
    // Iterative parsing: a deeply nested file cannot exhaust the stack. Invalid UTF-8 is a parse error.
    out.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(bytes->data(), bytes->size());
    if (out.HasParseError() || !out.IsObject()) return FileState::Damaged;
    repairValues(out, out.GetAllocator(), *bytes);
    return FileState::Parsed;
}

} // namespace

ConfigDocument::ConfigDocument() {
    m_doc.SetObject();
}

bool ConfigDocument::load(std::filesystem::path path) {
    m_path = std::move(path);
    m_modified = false;
    m_changedKeys.clear();
    rapidjson::Document parsed;
    if (readObject(m_path, parsed) != FileState::Parsed) {
        m_doc.SetObject();
        return false;
    }
    m_doc.Swap(parsed);
    return true;
}

bool ConfigDocument::loadText(std::string_view json) {
    m_modified = false;
    m_changedKeys.clear();
    rapidjson::Document parsed;
    parsed.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
    if (parsed.HasParseError() || !parsed.IsObject()) {
        m_doc.SetObject();
        return false;
    }
    m_doc.Swap(parsed);
    repairValues(m_doc, m_doc.GetAllocator(), json);
    return true;
}

bool ConfigDocument::save() {
    if (!m_modified) return false;
    if (!m_path.empty() && m_path.has_parent_path()) common::create_directories(m_path.parent_path());
    m_modified = false; // a failed write is not reported again
    const bool merged = !m_path.empty() && mergeWithFile();
    m_changedKeys.clear();
    return merged && files::writeFileAtomically(m_path, serialize());
}

// This document becomes the file's current object with this document's changed keys put in. A file that is
// missing leaves the document as it is; one that does not parse must be kept before it is replaced.
bool ConfigDocument::mergeWithFile() {
    rapidjson::Document onDisk;
    switch (readObject(m_path, onDisk)) {
    case FileState::Missing:
        return true;
    case FileState::Damaged:
        if (!files::keepDamagedCopy(m_path).empty()) return true;
        KVLOG(L"%s is damaged and could not be kept: not replaced", m_path);
        return false;
    case FileState::Parsed:
        break;
    }
    for (const std::string& key : m_changedKeys)
        if (const rapidjson::Value* mine = find(key)) assignMember(onDisk, key, *mine);
    m_doc.Swap(onDisk);
    return true;
}

std::string ConfigDocument::serialize() const {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 4);
    m_doc.Accept(writer);
    return std::string(buffer.GetString(), buffer.GetSize());
}

const rapidjson::Value* ConfigDocument::find(std::string_view key) const {
    // Linear and in document order: the first member with the name wins, as the file was written.
    const auto end = m_doc.MemberEnd();
    const auto it = std::find_if(m_doc.MemberBegin(), end, [key](const auto& member) {
        return std::string_view(member.name.GetString(), member.name.GetStringLength()) == key;
    });
    return it == end ? nullptr : &it->value;
}

bool ConfigDocument::has(std::string_view key) const {
    return find(key) != nullptr;
}

const rapidjson::Value& ConfigDocument::get(std::string_view key) const {
    const rapidjson::Value* v = find(key);
    return v ? *v : sharedNull();
}

bool ConfigDocument::getBool(std::string_view key, bool defaultValue) const {
    const rapidjson::Value* v = find(key);
    return v ? v->IsTrue() : defaultValue;
}

int ConfigDocument::getInt(std::string_view key, int defaultValue) const {
    const rapidjson::Value* v = find(key);
    return v ? numberAsInt(*v, defaultValue) : defaultValue;
}

std::wstring ConfigDocument::getString(std::string_view key, std::wstring_view defaultValue) const {
    const rapidjson::Value* v = find(key);
    if (!v) return std::wstring(defaultValue);
    if (!v->IsString()) return {};
    return text::fromUtf8(std::string_view(v->GetString(), v->GetStringLength()));
}

int ConfigDocument::memberInt(const rapidjson::Value& object, const char* name, int defaultValue) const {
    if (!object.HasMember(name)) return defaultValue;
    return numberAsInt(object[name], defaultValue);
}

Resolution ConfigDocument::getResolution(std::string_view key, Resolution defaultValue) const {
    const rapidjson::Value* v = find(key);
    if (!v || !v->IsObject()) return defaultValue;
    return {memberInt(*v, "width", 0), memberInt(*v, "height", 0)};
}

Point ConfigDocument::getPoint(std::string_view key, Point defaultValue) const {
    const rapidjson::Value* v = find(key);
    if (!v || !v->IsObject()) return defaultValue;
    return {memberInt(*v, "x", 0), memberInt(*v, "y", 0)};
}

CombineKey ConfigDocument::getHotkey(std::string_view key, CombineKey defaultValue) const {
    const rapidjson::Value* v = find(key);
    if (!v || !v->IsObject()) return defaultValue;
    return {memberInt(*v, "modifiers", 0), static_cast<std::uint16_t>(memberInt(*v, "key", 0))};
}

void ConfigDocument::noteChanged(std::string_view key) {
    m_modified = true;
    if (std::find(m_changedKeys.begin(), m_changedKeys.end(), key) == m_changedKeys.end())
        m_changedKeys.emplace_back(key);
}

void ConfigDocument::set(std::string_view key, rapidjson::Value&& value) {
    if (auto* existing = const_cast<rapidjson::Value*>(find(key))) {
        // Writing what is stored already changes nothing: a batch of such writes must not rewrite the file.
        if (*existing == value) return;
        noteChanged(key);
        *existing = std::move(value);
        return;
    }
    noteChanged(key);
    rapidjson::Value name(key.data(), jsonLength(key.size()), m_doc.GetAllocator());
    m_doc.AddMember(name, value, m_doc.GetAllocator());
}

void ConfigDocument::setString(std::string_view key, std::wstring_view value) {
    const std::string utf8 = text::toUtf8(value);
    set(key, rapidjson::Value(utf8.data(), jsonLength(utf8.size()), m_doc.GetAllocator()));
}

void ConfigDocument::setBool(std::string_view key, bool value) {
    set(key, rapidjson::Value(value));
}

void ConfigDocument::setInt(std::string_view key, int value) {
    set(key, rapidjson::Value(value));
}

void ConfigDocument::setResolution(int width, int height) {
    rapidjson::Value v(rapidjson::kObjectType);
    v.AddMember("width", width, m_doc.GetAllocator());
    v.AddMember("height", height, m_doc.GetAllocator());
    set("advancedSettings.resolution", std::move(v));
}

void ConfigDocument::setPoint(std::string_view key, int x, int y) {
    rapidjson::Value v(rapidjson::kObjectType);
    v.AddMember("x", x, m_doc.GetAllocator());
    v.AddMember("y", y, m_doc.GetAllocator());
    set(key, std::move(v));
}

void ConfigDocument::setHotkey(std::string_view key, CombineKey value) {
    rapidjson::Value v(rapidjson::kObjectType);
    v.AddMember("modifiers", value.modifiers, m_doc.GetAllocator());
    v.AddMember("key", static_cast<int>(value.key), m_doc.GetAllocator());
    set(key, std::move(v));
}

} // namespace common
