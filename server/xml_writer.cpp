#include "server/xml_writer.h"

#include "server/markup_entities.h"
#include "server/utf8.h"

namespace plumwit::server {
namespace {

bool IsXmlCharacter(char32_t c) {
  if (c == 0x9 || c == 0xA || c == 0xD) return true;
  return c >= 0x20 && c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

XmlWriter::XmlWriter() { out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

void XmlWriter::Open(std::string_view name) { OpenTag(name, {}); }

void XmlWriter::OpenArray(std::string_view name) { OpenTag(name, " type=\"array\""); }

void XmlWriter::OpenTag(std::string_view name, std::string_view attributes) {
  BeginChild();
  Indent(open_.size());
  out_ += '<';
  out_ += name;
  out_ += attributes;
  out_ += '>';
  open_.emplace_back(name);
  parent_has_children_ = false;
}

void XmlWriter::Element(std::string_view name, std::string_view text) {
  TypedElement(name, {}, text);
}

void XmlWriter::TypedElement(std::string_view name, std::string_view type, std::string_view text) {
  BeginChild();
  Indent(open_.size());
  out_ += '<';
  out_ += name;
  if (!type.empty()) {
    out_ += " type=\"";
    out_ += type;
    out_ += '"';
  }
  out_ += '>';
  out_ += Escape(text);
  out_ += "</";
  out_ += name;
  out_ += ">\n";
}

void XmlWriter::Close() {
  if (open_.empty()) return;
  // An element without children closes on its own line: <statuses ...></statuses>.
  if (parent_has_children_) Indent(open_.size() - 1);
  out_ += "</";
  out_ += open_.back();
  out_ += ">\n";
  open_.pop_back();
  parent_has_children_ = true;
}

std::string XmlWriter::Finish() {
  while (!open_.empty()) Close();
  return std::move(out_);
}

void XmlWriter::BeginChild() {
  if (!parent_has_children_) {
    out_ += '\n';
    parent_has_children_ = true;
  }
}

void XmlWriter::Indent(std::size_t depth) { out_.append(depth * 2, ' '); }

std::string XmlWriter::Escape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char32_t c : DecodeUtf8(text)) {
    if (!IsXmlCharacter(c)) c = 0xFFFD;
    if (const char* entity = MarkupEntity(c)) {
      escaped += entity;
    } else if (c == '\r') {
      escaped += "&#13;";
    } else if (c < 0x80) {
      escaped += static_cast<char>(c);
    } else {
      escaped += "&#" + std::to_string(static_cast<unsigned long>(c)) + ';';
    }
  }
  return escaped;
}

}  // namespace plumwit::server
