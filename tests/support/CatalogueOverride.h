#pragma once

#include "core/Catalogue.h"

#include <QMap>

namespace halcyra::test {

// A catalogue with the entries of `base`, except that the ids in `overrides` read the given
// texts (an id the base lacks is added).
Catalogue catalogueWithOverrides(const Catalogue& base, const QMap<int, QString>& overrides);

} // namespace halcyra::test
