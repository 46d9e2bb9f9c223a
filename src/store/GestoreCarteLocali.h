#pragma once

#include "store/CardList.h"

#include <filesystem>
#include <memory>

namespace vestrino {

// The local card manager: the list kept in "carte.plist" of the documents folder, read once at
// start-up and written back when asked.
class GestoreCarteLocali {
public:
    GestoreCarteLocali() = default;
    // Made and read from the file, as at start-up.
    static std::shared_ptr<GestoreCarteLocali> initWithFiles();

    void readFromFile();
    void saveState();
    // The flag has no effect; nothing is written while there is no list.
    bool writeToFileOverwrite(bool overwrite);
    static std::filesystem::path getLocalCardsFilePath();

    const std::shared_ptr<CardList>& localHighCards() const { return localHighCards_; }

private:
    std::shared_ptr<CardList> localHighCards_;
};

} // namespace vestrino
