#include "file_paths.h"

namespace cpk {

std::u16string JoinDocumentsPath(std::u16string_view folder, std::u16string_view name)
{
    std::u16string path(folder);
    path += u'\\';
    path += name;
    if (path.size() <= kMaxPlainPath || path.starts_with(u"\\\\?\\"))
        return path;
    if (path.size() > 2 && path[1] == u':' && path[2] == u'\\')
        return u"\\\\?\\" + path;
    if (path.starts_with(u"\\\\"))
        return u"\\\\?\\UNC\\" + path.substr(2);
    return path;  // relative: left as it is, the file calls decide
}

}  // namespace cpk
