#include "collectors/sonstiges.h"

#include "app/fields.h"

#include "app/controls.h"
#include "platform/registry_values.h"

namespace velkaro::Sonstiges {

namespace {

struct VersionRow {
  int field;
  const char* path;
};
constexpr VersionRow kVersionRows[] = {
    {field::kVelkaroVersion, kVelkaroPath},
    {field::kFennrickVersion, kFennrickPath},
    {field::kLunavexVersion, kLunavexPath},
};

}  // namespace

void Fill(Registry& registry, View& view) {
  for (const auto& row : kVersionRows)
    view.setText(row.field, Regestry::ReadRegPath(registry, row.path));
}

}  // namespace velkaro::Sonstiges
