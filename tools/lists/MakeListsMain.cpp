// Makes the practice lists that are not taken from a source (tools/lists/PracticeLists.h)
// and writes them into a source tree:
//
//   lumbrel-make-lists SOURCE_FOLDER
//
// writes "QSO Files/QSO.txt", "Word Files/Callsigns.txt" and "Word Files/CW
// Abbreviations.txt" below SOURCE_FOLDER. The seed is fixed, so the files come out the
// same every time; change kShippedSeed or the counts to make others.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/lists/PracticeLists.h"

namespace {

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "lumbrel-make-lists: cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lumbrel-make-lists SOURCE_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    using namespace lumbrel::lists;
    const Lists lists = MakeLists(kShippedSeed, kShippedQsos, kShippedCallsigns);
    const bool ok = WriteFile(folder + "/QSO Files/QSO.txt", lists.qsos) &&
                    WriteFile(folder + "/Word Files/Callsigns.txt", lists.callsigns) &&
                    WriteFile(folder + "/Word Files/CW Abbreviations.txt", lists.abbreviations);
    return ok ? 0 : 1;
}
