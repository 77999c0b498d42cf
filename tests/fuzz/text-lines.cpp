// The input is a text file, read as the trainer's text source reads it but without the
// engine (tests/fuzz/TextFileCheck.h): the same checks the text-file target makes
// before it plays the file, many times faster, so that the line reader, the scan of the
// file's kind and the parameter line parser get most of the fuzzing time.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/TextFileCheck.h"

using namespace lumbrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzz::WriteDataFile(QStringLiteral("Text Files/lines.txt"), input);
    fuzz::CheckTextFileSource(path, input);
    fuzz::CheckLineReaderAcrossChunks(input);
    return 0;
}
