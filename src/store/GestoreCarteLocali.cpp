#include "store/GestoreCarteLocali.h"

#include "store/FileUtils.h"

namespace vestrino {

std::shared_ptr<GestoreCarteLocali> GestoreCarteLocali::initWithFiles() {
    auto manager = std::make_shared<GestoreCarteLocali>();
    manager->readFromFile();
    return manager;
}

void GestoreCarteLocali::readFromFile() {
    localHighCards_ = CardList::initWithContentfile(getLocalCardsFilePath());
}

void GestoreCarteLocali::saveState() {
    writeToFileOverwrite(true);
}

bool GestoreCarteLocali::writeToFileOverwrite(bool /*overwrite*/) {
    return localHighCards_ && localHighCards_->writeToFile(getLocalCardsFilePath());
}

std::filesystem::path GestoreCarteLocali::getLocalCardsFilePath() {
    return FileUtils::applicationDocumentsDirectory() / "carte.plist";
}

} // namespace vestrino
