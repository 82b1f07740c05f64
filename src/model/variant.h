#pragma once

namespace velkor {

// Which program is running: the current configurator, or the legacy one for
// panel software older than 3.20. Chosen once at start; it selects the
// catalogues, the image layout of the users and the database file records.
enum class Variant { Current, Legacy };

}  // namespace velkor
