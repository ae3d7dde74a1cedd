#include "platform/InputFile.h"

#include "platform/FileAccess.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextFile.h"

namespace tamrivo {

boost::system::error_code OpenInputFile(const boost::filesystem::path& path, InputFile& file) {
    FileKind kind = FileKind::Regular;
    file.handle = OpenForReading(path, kind);
    file.isFolder = kind == FileKind::Folder;
    file.isSpecial = kind == FileKind::Special;
    if (!file.handle.IsOpen() && kind == FileKind::Regular) {
        return LastCallError();
    }
    return {};
}

InputFileBuffer::InputFileBuffer(InputFile& file) : file_(file), bytes_(TextBufferBytes) {}

InputFileBuffer::int_type InputFileBuffer::underflow() {
    if (error_ || !file_.handle.IsOpen()) {
        return traits_type::eof();
    }
    const long long got = ReadSome(file_.handle.Get(), bytes_.data(), bytes_.size());
    if (got < 0) {
        error_ = LastCallError();
    }
    if (got <= 0) {
        return traits_type::eof();
    }
    setg(bytes_.data(), bytes_.data(), bytes_.data() + got);
    return traits_type::to_int_type(bytes_[0]);
}

}  // namespace tamrivo
