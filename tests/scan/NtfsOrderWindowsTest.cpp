// The order of the walk against the order in which the system itself lists a folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <boost/filesystem/directory.hpp>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "scan/NtfsOrder.h"

namespace tamrivo {
namespace {

// A name as UTF-8, the narrow form Tamrivo.exe works in.
std::string Utf8(const std::wstring& name) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), text.data(), size,
                        nullptr, nullptr);
    return text;
}

// The walk sorts every listing itself, so that Linux gives the order that Windows gives on NTFS;
// here the system's own order must already be that one. The names are made and listed through
// the wide functions, so that they need no code page.
TEST(NtfsNameLessOnWindows, IsTheOrderInWhichTheSystemListsAFolder) {
    testing::TempDir dir;
    const std::vector<std::wstring> names = {L"zeta.c",
                                             L"_x.c",
                                             L"b.txt",
                                             L"Sub",
                                             L"9.c",
                                             L"Alpha.h",
                                             L"sub2",
                                             L"10.c",
                                             L"a.c",
                                             L"Beta.c",
                                             L"a",
                                             L"a-b.c",
                                             L"a_b.c",
                                             L"a.b",
                                             L"a~b.c",
                                             L"a b.c",
                                             L"[x].h",
                                             L"^y.c",
                                             L"`q.c",
                                             L"{z}.c",
                                             L"~t.c",
                                             L"!e.c",
                                             L"#h.c",
                                             L"$d.c",
                                             L"%p.c",
                                             L"&a.c",
                                             L"'s.c",
                                             L"(r).c",
                                             L"+p.c",
                                             L",c.c",
                                             L";s.c",
                                             L"=e.c",
                                             L"@a.c",
                                             L"]b.h",
                                             L"0",
                                             L"00",
                                             L"0a",
                                             L"Z.c",
                                             L"zz",
                                             L"ab",
                                             L"aB.c",
                                             L"abc",
                                             L"\u00e9t\u00e9.c",
                                             L"\u00c9t\u00e9s.h",
                                             L"\u00ff",
                                             L"\u0430\u0431",
                                             L"\u0410\u0432",
                                             L"\u043c\u0438\u0440",
                                             L"\u041c\u043e\u0434",
                                             L"\u042f",
                                             L"\u65e5\u672c",
                                             L"\u03c9",
                                             L"\u03a9x",
                                             L"\U0001F600.c",
                                             L"\uff21",
                                             L"\uff42",
                                             L"stra\u00dfe",
                                             L"STRASSE"};
    boost::filesystem::path folder(dir.path());
    for (const std::wstring& name : names) {
        const HANDLE file = CreateFileW((folder / name).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    std::vector<std::string> listed;
    for (boost::filesystem::directory_iterator entry(folder), end; entry != end; ++entry) {
        listed.push_back(Utf8(entry->path().filename().wstring()));
    }
    std::vector<std::string> sorted;
    for (const std::wstring& name : names) {
        sorted.push_back(Utf8(name));
    }
    std::sort(sorted.begin(), sorted.end(), NtfsNameLess);
    EXPECT_EQ(listed, sorted);
}

}  // namespace
}  // namespace tamrivo
