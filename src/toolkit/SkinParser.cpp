#include "toolkit/SkinParser.h"

#include <pugixml.hpp>

#include "core/log/Log.h"
#include "core/text/Utf.h"
#include "toolkit/Combo.h"

namespace ui {

namespace {

// Deeper trees are not skins; refusing them keeps the recursion bounded.
constexpr int kMaxDepth = 64;

std::wstring wide(const char* utf8) {
    return common::text::fromUtf8(utf8);
}

int lineOf(std::string_view xml, std::ptrdiff_t offset) {
    const auto end = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(offset, 0, std::ssize(xml)));
    return 1 + static_cast<int>(std::count(xml.begin(), xml.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

bool loadXml(std::string_view xml, pugi::xml_document& doc, std::wstring& error) {
    const pugi::xml_parse_result result =
        doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (result) return true;
    error = L"skin line " + std::to_wstring(lineOf(xml, result.offset)) + L": " + wide(result.description());
    KVLOG(L"%s", error);
    return false;
}

bool isSkinSetting(std::string_view name) {
    return name == "Font" || name == "Default" || name == "Image";
}

class TreeBuilder {
public:
    TreeBuilder(const ControlFactory& factory, std::wstring& error,
                const std::function<std::unique_ptr<Control>()>* makeRoot = nullptr)
        : m_factory(factory), m_error(error), m_makeRoot(makeRoot) {}

    std::unique_ptr<Control> build(const pugi::xml_node& node, int depth) {
        if (depth > kMaxDepth) {
            m_error = L"skin nested deeper than " + std::to_wstring(kMaxDepth) + L" levels";
            return nullptr;
        }
        const std::wstring className = wide(node.name());
        auto control = depth == 1 && m_makeRoot && *m_makeRoot ? (*m_makeRoot)() : m_factory.create(className);
        if (!control) {
            KVLOG(L"skin: unknown control class %s skipped", className);
            return nullptr;
        }
        for (const pugi::xml_attribute& attr : node.attributes()) {
            const std::wstring name = wide(attr.name());
            if (!control->setAttribute(name, wide(attr.value())))
                KVLOG(L"skin: %s has no attribute %s", className, name);
        }
        if (auto* combo = dynamic_cast<Combo*>(control.get())) {
            for (const pugi::xml_node& item : node.children("ListLabelElement"))
                combo->addItem(wide(item.attribute("text").value()), item.attribute("tag").as_llong());
            return control;
        }
        auto* container = dynamic_cast<Container*>(control.get());
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            if (!container) {
                KVLOG(L"skin: %s cannot hold %s", className, wide(child.name()));
                continue;
            }
            auto built = build(child, depth + 1);
            if (!m_error.empty()) return nullptr;
            if (built) container->add(std::move(built));
        }
        return control;
    }

private:
    const ControlFactory& m_factory;
    std::wstring& m_error;
    const std::function<std::unique_ptr<Control>()>* m_makeRoot;
};

std::optional<Size> parseSize(const char* text) {
    const std::wstring value = wide(text);
    const auto comma = value.find(L',');
    if (comma == std::wstring::npos) return std::nullopt;
    const auto cx = parseInteger(std::wstring_view(value).substr(0, comma));
    const auto cy = parseInteger(std::wstring_view(value).substr(comma + 1));
    if (!cx || !cy || *cx < 0 || *cy < 0) return std::nullopt;
    return Size{*cx, *cy};
}

FontSpec parseFont(const pugi::xml_node& node) {
    FontSpec font;
    font.id = node.attribute("id").as_int();
    font.face = wide(node.attribute("name").value());
    font.size = node.attribute("size").as_int(12);
    font.bold = node.attribute("bold").as_bool();
    font.underline = node.attribute("underline").as_bool();
    font.isDefault = node.attribute("default").as_bool();
    return font;
}

} // namespace

bool SkinParser::parseWindow(std::string_view xml, Window& window, std::wstring& error) const {
    error.clear();
    pugi::xml_document doc;
    if (!loadXml(xml, doc, error)) return false;
    const pugi::xml_node top = doc.document_element();
    if (std::string_view(top.name()) != "Window") {
        error = L"skin root is " + wide(top.name()) + L", not Window";
        return false;
    }
    if (const auto size = parseSize(top.attribute("size").value())) window.setInitialSize(*size);
    if (const auto caption = parseRect(wide(top.attribute("caption").value())))
        window.setCaptionHeight(caption->bottom);
    std::unique_ptr<Control> root;
    TreeBuilder builder(m_factory, error);
    for (const pugi::xml_node& child : top.children()) {
        if (child.type() != pugi::node_element) continue;
        if (std::string_view(child.name()) == "Font") {
            window.fonts().push_back(parseFont(child));
        } else if (!isSkinSetting(child.name()) && !root) {
            root = builder.build(child, 1);
            if (!error.empty()) return false;
        }
    }
    if (!root) {
        if (error.empty()) error = L"skin has no control";
        return false;
    }
    window.setRoot(std::move(root));
    return true;
}

std::unique_ptr<Control> SkinParser::parseControl(std::string_view xml, std::wstring& error) const {
    return parseControl(xml, error, nullptr);
}

std::unique_ptr<Control> SkinParser::parseControl(std::string_view xml, std::wstring& error,
                                                  const std::function<std::unique_ptr<Control>()>& makeRoot) const {
    error.clear();
    pugi::xml_document doc;
    if (!loadXml(xml, doc, error)) return nullptr;
    auto root = TreeBuilder(m_factory, error, &makeRoot).build(doc.document_element(), 1);
    if (!root && error.empty()) error = L"skin has no control";
    return error.empty() ? std::move(root) : nullptr;
}

} // namespace ui
