#pragma once

#include <QIcon>

namespace tk {

// The picture at a resource path, with its double-size rendition where one lies beside it ("@2x" before
// the extension). Each picture is read once and kept while Qt runs.
QIcon picture(const char *path);

} // namespace tk
