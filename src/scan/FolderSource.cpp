#include "scan/FolderSource.h"

#include "platform/FileAccess.h"

namespace tamrivo {
namespace {

class SystemFolderSource final : public FolderSource {
  public:
    boost::system::error_code OpenRoot(const std::string& root, HeldFolder& folder) override {
        return OpenRootFolder(NativePath(root), folder);
    }
    SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                                   HeldFolder& folder, boost::system::error_code& error) override {
        return tamrivo::OpenSubFolder(parent, name, folder, error);
    }
    boost::system::error_code List(const HeldFolder& folder,
                                   std::vector<FolderEntry>& entries) override {
        return ListFolder(folder, entries);
    }
    FolderIdentity Identify(const HeldFolder& folder) override { return IdentifyFolder(folder); }
};

}  // namespace

FolderSource& SystemFolders() {
    static SystemFolderSource source;
    return source;
}

}  // namespace tamrivo
