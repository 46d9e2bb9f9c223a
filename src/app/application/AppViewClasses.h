#pragma once

namespace vestrino {

// Makes the application's own view classes known to the layouts ("UIBannerView",
// "QVPageControlView", "QVImageView", "MovimentoCell").
void registerAppViewClasses();

} // namespace vestrino
