// Where the calculator keeps its settings and state files, and what becomes of one that cannot
// be read.
//
// They live in the program folder while it can be written. When it cannot (the program is
// installed in a system folder, or its folder was made read-only), they are written to the
// user's data folder instead and read from there once they exist there, from the program folder
// until then; the pictures and guides stay in the program folder either way.
//
// A state file that exists but cannot be read, or is damaged, would be replaced by a fresh one
// at close. It is put aside first as NAME.damaged (replacing an older one of that name), and the
// user is told where, once.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orrindale {

class StateFiles {
public:
    // Both folders end with "/". dataFolder is used only when programFolder cannot be written;
    // it is made then if it does not exist, private to the user (rwx------, as are any parents
    // it needs made).
    StateFiles(std::string programFolder, std::string dataFolder);
    // The same with the answer to whether the program folder can be written already known.
    StateFiles(std::string programFolder, std::string dataFolder, bool programFolderWritable);

    // An installed program: the settings and state always go to the data folder, where they
    // simply belong, so its first use is not announced.
    static StateFiles Installed(std::string programFolder, std::string dataFolder);

    // Whether this process may make and replace files in folder.
    static bool Writable(const std::string& folder);

    // True when the settings and state go to the data folder.
    bool InDataFolder() const { return inDataFolder_; }
    const std::string& SaveFolder() const {
        return !chosen_.empty() ? chosen_ : inDataFolder_ ? data_ : program_;
    }
    // From now on the settings and state are written to folder (ending with "/"), one the user
    // chose after the usual one could not be written. They are still read from the usual one.
    void SaveIn(std::string folder) { chosen_ = std::move(folder); }
    // Where they go when the user chose none: the program folder or the data folder.
    const std::string& UsualFolder() const { return inDataFolder_ ? data_ : program_; }
    // Whether a user is there to be asked about a file that cannot be written; not while the
    // program ends on a signal or with the desktop session (statesave.h).
    bool Unattended() const { return unattended_; }
    void SetUnattended(bool unattended) { unattended_ = unattended; }

    // Where name is read: the usual folder (below), or the program folder while the data folder
    // holds none yet.
    std::string ReadPath(std::string_view name) const;
    std::string SavePath(std::string_view name) const { return SaveFolder() + std::string(name); }

    // Reports that the state file name could not be read: a file that is there is put aside
    // (or, in a program folder that cannot be written, left as it is) and noted for the user.
    // A missing file is no fault.
    void LoadFailed(std::string_view name);

    // What the user is to hear about the state files since last asked, once: the first use of
    // the data folder and the files put aside. Empty when there is nothing to say.
    struct Notice {
        std::string Text;
        bool FilesPutAside = false; // a warning, not only news
    };
    Notice TakeNotice();

    // Removes the temporary files that killed saves of the state files left, a minute old or more,
    // in both the program folder and the data folder where they can be written.
    int RemoveLeftovers() const;

private:
    struct Aside {
        std::string Name;
        std::string Where; // the old copy; empty when it could not be put aside
    };
    std::string program_, data_;
    std::string chosen_; // the folder the user chose, if any
    bool inDataFolder_ = false;
    bool unattended_ = false;
    bool announce_ = false;
    std::vector<Aside> aside_;
};

} // namespace orrindale
