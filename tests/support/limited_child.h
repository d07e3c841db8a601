#pragma once

#include <QString>
#include <functional>

namespace support {

// Runs body in a child process whose files cannot grow past fileSizeLimit bytes: a write beyond
// it fails as it would on a full disk (SIGXFSZ is ignored). With asOrdinaryUser a child of root
// runs as "nobody", so that file permissions hold. Returns what body returned, or how the
// child failed.
QString InLimitedChild(long fileSizeLimit, const std::function<QString()>& body,
                       bool asOrdinaryUser = false);

}  // namespace support
