#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace vestrino {

// The files the application cannot run without: its screens' layouts and its pictures. They
// are checked at launch, before the window opens, so that a missing or damaged file ends the
// program with its name instead of a screen without its buttons or an abort halfway through.
class AppResources {
public:
    static constexpr std::array<std::string_view, 8> kLayouts{
        "AggiungiCartaViewController",
        "CVV2ModalVC",
        "CarteViewController",
        "HomeViewController",
        "InfoViewController",
        "LumaspotViewController",
        "MovimentoCell",
        "TransazioniViewController",
    };
    // Data files below data/ (JSON).
    static constexpr std::array<std::string_view, 1> kData{"capoluoghi.json"};
    static constexpr std::array<std::string_view, 38> kImages{
        "vestrino_bottom_320.png",
        "vestrino_button_aggiungi_320.png",
        "vestrino_button_aggiungi_320_selected.png",
        "vestrino_button_aggiungi_carta_320.png",
        "vestrino_button_aggiungi_carta_selected_320.png",
        "vestrino_button_conferma_320.png",
        "vestrino_button_conferma_selected_320.png",
        "vestrino_button_dai_nome_carta_320.png",
        "vestrino_button_elimina_320.png",
        "vestrino_button_elimina_selected_320.png",
        "vestrino_button_filtro_320.png",
        "vestrino_button_modifica_320.png",
        "vestrino_button_modifica_selected_320.png",
        "vestrino_button_scegli_320.png",
        "vestrino_button_scegli_320_selected.png",
        "vestrino_button_selected_320.png",
        "vestrino_card_lumacard_320.png",
        "vestrino_card_lumacard_BW_320.png",
        "vestrino_cvv2_sfondo_320.png",
        "vestrino_field_320.png",
        "vestrino_freccia_dx_320.png",
        "vestrino_freccia_sx_320.png",
        "vestrino_head_320.png",
        "vestrino_indietro_320.png",
        "vestrino_indietro_320_selected.png",
        "vestrino_interface_pallino_blu_320.png",
        "vestrino_interface_pallino_giallo_320.png",
        "vestrino_login_button_320.png",
        "vestrino_login_button_selected_320.png",
        "vestrino_menu_carta_320.png",
        "vestrino_menu_carta_selected_320.png",
        "vestrino_menu_info_320.png",
        "vestrino_menu_info_selected_320.png",
        "vestrino_menu_logout_320.png",
        "vestrino_menu_logout_selected_320.png",
        "vestrino_riga_320.png",
        "vestrino_title_aggiungi_carta_320.png",
        "vestrino_title_modifica_carta_320.png",
    };

    // Checks that `folder` has layouts/<name>.json for every layout (JSON with a top view),
    // images/<name> for every picture (a whole PNG file, every chunk's CRC sound) and the town list
    // in data/. False with the first file that is missing or damaged named in `error`.
    static bool verify(const std::filesystem::path& folder, std::string& error);
};

} // namespace vestrino
