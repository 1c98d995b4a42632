#include "collectors/sonstiges.h"

#include "app/controls.h"
#include "platform/registry_values.h"

namespace velkaro::Sonstiges {

namespace {

struct VersionRow {
  int field;
  const char* path;
};
constexpr VersionRow kVersionRows[] = {
    {ids::Text5(13), kVelkaroPath},
    {ids::Text5(12), kFennrickPath},
    {ids::Text5(11), kLunavexPath},
};

}  // namespace

void Fill(Registry& registry, View& view) {
  for (const auto& row : kVersionRows)
    view.setText(row.field, Regestry::ReadRegPath(registry, row.path));
}

}  // namespace velkaro::Sonstiges
