#include <gtest/gtest.h>

#include "file_paths.h"

namespace cpk {
namespace {

TEST(JoinDocumentsPath, PlainLongAndFailedFolders)
{
    EXPECT_EQ(JoinDocumentsPath(u"C:\\users\\me\\Documents", u"Text.txt"), u"C:\\users\\me\\Documents\\Text.txt");
    // The folder lookup failed: the root of the current drive.
    EXPECT_EQ(JoinDocumentsPath(u"", u"resource.dll"), u"\\resource.dll");

    // 259 characters exactly still take the plain form; one more gets the
    // extended-length prefix instead of being cut or overrunning a buffer.
    const std::u16string name = u"resource.dll";
    const std::u16string at = u"C:\\" + std::u16string(259 - 3 - 1 - name.size(), u'd');
    EXPECT_EQ(JoinDocumentsPath(at, name).size(), 259u);
    EXPECT_EQ(JoinDocumentsPath(at, name), at + u"\\" + name);
    const std::u16string over = at + u"d";
    EXPECT_EQ(JoinDocumentsPath(over, name), u"\\\\?\\" + over + u"\\" + name);

    const std::u16string unc = u"\\\\server\\share\\" + std::u16string(250, u'u');
    EXPECT_EQ(JoinDocumentsPath(unc, name), u"\\\\?\\UNC\\server\\share\\" + std::u16string(250, u'u') + u"\\" + name);
}

}  // namespace
}  // namespace cpk
