#include "webmap/webmap_tables.h"

namespace {

// "<name> (<column> <type>, ..., <constraint> )" or, without a constraint,
// "<name> (<column> <type>, ...)" as the webmap has always been created.
template <typename Column, size_t n>
std::string createStatement(const char* table, const Column (&columns)[n],
                            const char* constraint) {
  std::string s = std::string("CREATE TABLE ") + table + " (";
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) s += ", ";
    s += std::string(columns[i].name) + " " + columns[i].sqlType;
  }
  if (constraint != nullptr) s += std::string(", ") + constraint + " ";
  return s + ");";
}

}  // namespace

std::string createMapHexStatement() {
  return createStatement(kMapHexTable, kMapHexColumns, kMapHexConstraint);
}

std::string createMapDescriptionStatement() {
  return createStatement(kMapDescriptionTable, kMapDescriptionColumns, nullptr);
}

std::string quoteIdentifier(const std::string& name) {
  std::string quoted = "`";
  for (char c : name) {
    if (c == '`') quoted += '`';
    quoted += c;
  }
  return quoted + "`";
}

const FieldTexts& hexFieldArray(const HexTable& hexes, HexField field) {
  for (const HexFieldEntry& definition : kHexFields) {
    if (definition.field == field) return hexes.*definition.member;
  }
  return hexes.x;  // not reached: every field is in the table
}
