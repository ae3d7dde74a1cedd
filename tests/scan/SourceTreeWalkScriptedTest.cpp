// The walk over a scripted tree held in memory: listings that finish in the worst order for the
// walk, and a folder moved away while the walk is below it.
#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <sstream>

#include "SourceTreeWalkTestSupport.h"
#include "scan/SourceTreeWalk.h"

namespace tamrivo {
namespace {

using Strings = std::vector<std::string>;

// A tree of folders and files in memory. A held folder's path is its node's number, so that it
// keeps naming the folder wherever the folder is moved, as a handle does.
class ScriptedTree final : public FolderSource {
  public:
    struct Node {
        bool isFolder = true;
        bool unreadable = false;  // its status query fails
        std::map<std::string, std::size_t> children;
    };

    ScriptedTree() : nodes_(1) {}

    // Adds the file or folder at path (names separated by "/"), and the folders above it.
    void Add(const std::string& path, bool isFolder = false) {
        std::size_t node = 0;
        std::istringstream names(path);
        for (std::string name; std::getline(names, name, '/');) {
            const auto [child, added] = nodes_[node].children.emplace(name, nodes_.size());
            if (added) {
                nodes_.emplace_back();
            }
            node = child->second;
        }
        nodes_[node].isFolder = isFolder;
    }
    Node& At(const std::string& path) { return nodes_[Find(path)]; }

    // Moves the folder at from below the folder at to, as another process would.
    void Move(const std::string& from, const std::string& parent, const std::string& name) {
        const std::size_t slash = from.rfind('/');
        Node& oldParent = At(slash == std::string::npos ? "" : from.substr(0, slash));
        const std::string oldName = from.substr(slash + 1);  // npos + 1 is 0
        const std::size_t node = oldParent.children.at(oldName);
        oldParent.children.erase(oldName);
        At(parent).children.emplace(name, node);
    }

    // Lets each listing of a folder finish only once every listing of a folder later in walk
    // order that has started has finished: the walk gets its listings in the worst order there is.
    bool adversarial = false;
    // Has work called, under the tree's lock, whenever the folder now at path is listed.
    void OnListing(const std::string& path, std::function<void()> work) {
        onListing_[Find(path)] = std::move(work);
    }

    boost::system::error_code OpenRoot(const std::string&, HeldFolder& folder) override {
        folder.path = "0";
        return {};
    }
    SubFolderOpening OpenSubFolder(const HeldFolder& parent, const std::string& name,
                                   HeldFolder& folder, boost::system::error_code& error) override {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto& children = nodes_[Number(parent)].children;
        const auto child = children.find(name);
        if (child == children.end()) {
            error = boost::system::errc::make_error_code(
                boost::system::errc::no_such_file_or_directory);
            return SubFolderOpening::Failed;
        }
        folder.path = std::to_string(child->second);
        return SubFolderOpening::Opened;
    }
    boost::system::error_code List(const HeldFolder& folder,
                                   std::vector<FolderEntry>& entries) override {
        std::unique_lock<std::mutex> lock(mutex_);
        const std::size_t node = Number(folder);
        const std::size_t place = PreOrderPlace(node);
        listing_.insert(place);
        changed_.wait(lock, [&] { return !adversarial || *listing_.rbegin() == place; });
        listing_.erase(place);
        changed_.notify_all();
        if (const auto work = onListing_.find(node); work != onListing_.end()) {
            work->second();
        }
        // Listed in reverse: the walk's own order must not depend on the system's.
        for (auto child = nodes_[node].children.rbegin(); child != nodes_[node].children.rend();
             ++child) {
            const Node& entry = nodes_[child->second];
            FolderEntry& listed = entries.emplace_back();
            listed.name = child->first;
            listed.isFolder = listed.isRealFolder = entry.isFolder && !entry.unreadable;
            if (entry.unreadable) {
                listed.statusError =
                    boost::system::errc::make_error_code(boost::system::errc::permission_denied);
            }
        }
        return {};
    }
    FolderIdentity Identify(const HeldFolder& folder) override { return {0, Number(folder)}; }

  private:
    static std::size_t Number(const HeldFolder& folder) { return std::stoul(folder.path.string()); }

    std::size_t Find(const std::string& path) const {
        std::size_t node = 0;
        std::istringstream names(path);
        for (std::string name; std::getline(names, name, '/');) {
            node = nodes_[node].children.at(name);
        }
        return node;
    }

    // The node's place in a plain pre-order walk of the tree as it is.
    std::size_t PreOrderPlace(std::size_t wanted) const {
        std::size_t place = 0;
        std::function<bool(std::size_t)> visit = [&](std::size_t node) {
            if (node == wanted) {
                return true;
            }
            ++place;
            for (const auto& [name, child] : nodes_[node].children) {
                if (visit(child)) {
                    return true;
                }
            }
            return false;
        };
        visit(0);
        return place;
    }

    std::vector<Node> nodes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::multiset<std::size_t> listing_;
    std::map<std::size_t, std::function<void()>> onListing_;
};

WalkResult WalkScripted(ScriptedTree& tree, const WalkLimits& limits) {
    WalkResult result;
    std::ostringstream errors;
    EXPECT_FALSE(
        WalkFolders(tree, "C:\\Src", limits, {}, result.inventory, result.folders, errors));
    result.errors = errors.str();
    return result;
}

TEST(WalkFolders, ListingsFinishingInTheWorstOrderGiveThePlainPreOrder) {
    // Three levels of five folders, each with a file; one folder whose status cannot be read and
    // one that cannot be opened at each level, so that error lines stand between entries.
    ScriptedTree tree;
    Strings expectedFolders;
    Strings expectedFiles;
    std::string expectedErrors;
    std::function<void(const std::string&, int)> build = [&](const std::string& folder, int depth) {
        const std::string windowsFolder = folder.empty() ? "" : folder + "\\";
        std::string relative = folder;
        std::replace(relative.begin(), relative.end(), '/', '\\');
        const std::string below = folder.empty() ? "" : folder + "/";
        for (const std::string name : {"a", "b", "c", "d", "e"}) {
            if (depth == 3) {
                break;
            }
            tree.Add(below + name, true);
            expectedFolders.push_back((relative.empty() ? "" : relative + "\\") + name);
            build(below + name, depth + 1);
        }
        // Each folder's own entries after its sub-folders: they sort after a to e. The file's
        // name tells the folder, so that a listing given to another folder shows.
        std::string file = "f_" + folder + ".c";
        std::replace(file.begin(), file.end(), '/', '_');
        tree.Add(below + file);
        expectedFiles.push_back("..\\..\\Src\\" + (relative.empty() ? "" : relative + "\\") + file);
        tree.Add(below + "x", true);
        tree.At(below + "x").unreadable = true;
        expectedErrors += "Error While Accessing : C:\\Src\\" +
                          (relative.empty() ? "" : relative + "\\") + "x :: Permission denied\n";
    };
    build("", 0);

    const WalkResult alone = WalkScripted(tree, {0, 0, 1000});
    EXPECT_EQ(alone.folders, expectedFolders);
    EXPECT_EQ(alone.inventory.sourceFiles, expectedFiles);
    EXPECT_EQ(alone.errors, expectedErrors);
    tree.adversarial = true;
    // Which listings run side by side is up to the threads: each count walks several times.
    for (const std::size_t helpers : {1, 2, 3}) {
        for (int walk = 0; walk < 10; ++walk) {
            EXPECT_TRUE(WalkScripted(tree, {helpers, 8, 1000}) == alone)
                << helpers << " helpers, walk " << walk;
        }
    }
}

TEST(WalkFolders, AFolderMovedAwayWhileLetGoLosesOnlyWhatWasMoved) {
    // With two folders held, the walk lets go of Mid while it is in Mid/Deep/Deeper; Mid is
    // moved into a folder already walked then, so that the way back cannot find it. What Mid
    // still held is gone with it; everything else is walked.
    ScriptedTree tree;
    for (const std::string path : {"Aaa/a.c", "Mid/Deep/Deeper/d.c", "Mid/Deep/e.c", "Mid/later.c",
                                   "Other/o.c", "top.c", "zzz/keep.c"}) {
        tree.Add(path);
    }
    tree.OnListing("Mid/Deep/Deeper", [&tree] { tree.Move("Mid", "Aaa", "Moved"); });
    for (const std::size_t helpers : {0, 1}) {
        const WalkResult walked = WalkScripted(tree, {helpers, 1, 2});
        EXPECT_EQ(walked.inventory.sourceFiles,
                  (Strings{"..\\..\\Src\\Aaa\\a.c", "..\\..\\Src\\Mid\\Deep\\Deeper\\d.c",
                           "..\\..\\Src\\Mid\\Deep\\e.c", "..\\..\\Src\\Other\\o.c",
                           "..\\..\\Src\\top.c", "..\\..\\Src\\zzz\\keep.c"}))
            << helpers << " helpers";
        EXPECT_EQ(walked.folders,
                  (Strings{"Aaa", "Mid", "Mid\\Deep", "Mid\\Deep\\Deeper", "Other", "zzz"}))
            << helpers << " helpers";
        EXPECT_EQ(walked.errors,
                  "Error While Accessing : C:\\Src\\Mid :: No such file or directory\n");
        tree.Move("Aaa/Moved", "", "Mid");  // back for the next walk
    }
}

}  // namespace
}  // namespace tamrivo
