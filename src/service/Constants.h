#pragma once

#include "xml/EsitoConstants.h"

#include <string>

namespace vestrino {

// ---- The service host: the one setting. The endpoint URLs are built from it. ----
void setServiceHost(std::string hostAndPort);
std::string serviceHost();

std::string URL_HOST_COMPLETA();
std::string URL_LOGIN();
std::string URL_LOGOUT();
std::string URL_LISTACARTE();
std::string URL_LISTAMOVIMENTI();
std::string URL_MOVIMENTI_CARTA_ANONIMA();
std::string URL_BANNER();
std::string URL_TROVA_LUMASPOT();

// ---- Form field names and fixed values. ----
inline constexpr const char* POST_VAR_USERNAME = "USER";
inline constexpr const char* POST_VAR_PASSWORD = "PASSWORD";
inline constexpr const char* POST_VAR_AGENT = "agent";
inline constexpr const char* POST_VAR_AGENT_KEY = "iPhone";
inline constexpr const char* POST_VAR_FORMATO = "formato";
inline constexpr const char* FORMATO_XML = "XML";
inline constexpr const char* POST_VAR_SELPAN = "selPan";
inline constexpr const char* POST_VAR_NUMEROCARTA = "numeroCarta";
inline constexpr const char* POST_VAR_DATA_MM = "dataMM";
inline constexpr const char* POST_VAR_DATA_AA = "dataAA";
inline constexpr const char* POST_VAR_CVV2 = "cvv2";
inline constexpr const char* POST_VAR_LAT = "lat";
inline constexpr const char* POST_VAR_LNG = "lng";
inline constexpr const char* POST_VAR_RAGGIO = "raggio";

// ---- Outcome codes and the code words that map to them. ----
inline constexpr int SUCCESS = 0;
inline constexpr int LOGIN_OK = 0;
inline constexpr int CODICE_ERRORE_GENERICO = -100;
inline constexpr int CODICE_ERRORE_SESSIONE_SCADUTA = -200;
inline constexpr int CODICE_ERRORE_CONNESSIONE = -300;
inline constexpr int CODICE_ERRORE_LOGIN_USER_VUOTO = -1;
inline constexpr int CODICE_ERRORE_LOGIN_PASSWORD_VUOTO = -2;
inline constexpr int CODICE_ERRORE_LOGIN_PASSWORD_LEN = -3;
inline constexpr int CODICE_ERRORE_LOGIN_FALLITA = -4;
inline constexpr int CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO = -10;
inline constexpr int CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_NONNUMERO = -20;
inline constexpr int CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_LUNGHEZZA = -30;
inline constexpr int CODICE_ERRORE_PARAMETRI_CARTA_NON_VALIDI = -40;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CARTA_VUOTA = -41;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CARTA_NON_NUMERO = -42;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CARTA_LUNGHEZZA = -43;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CARTA_NON_VALIDA = -54;
inline constexpr int CODICE_ERRORE_INSERIMENTO_MESE_VUOTO = -44;
inline constexpr int CODICE_ERRORE_INSERIMENTO_MESE_NON_NUMERO = -45;
inline constexpr int CODICE_ERRORE_INSERIMENTO_MESE_LUNGHEZZA = -46;
inline constexpr int CODICE_ERRORE_INSERIMENTO_MESE_VALORE = -47;
inline constexpr int CODICE_ERRORE_INSERIMENTO_ANNO_VUOTO = -48;
inline constexpr int CODICE_ERRORE_INSERIMENTO_ANNO_NON_NUMERO = -49;
inline constexpr int CODICE_ERRORE_INSERIMENTO_ANNO_LUNGHEZZA = -50;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CVV2_VUOTO = -51;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CVV2_NON_NUMERO = -52;
inline constexpr int CODICE_ERRORE_INSERIMENTO_CVV2_LUNGHEZZA = -53;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LAT_VUOTO = -61;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LAT_NON_NUMERO = -62;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LAT_NON_VALIDO = -63;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LNG_VUOTO = -64;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LNG_NON_NUMERO = -65;
inline constexpr int CODICE_ERRORE_TROVA_ATM_LNG_NON_VALIDO = -66;
inline constexpr int CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_NUMERO = -67;
inline constexpr int CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_VALIDO = -68;

inline constexpr const char* CODICE_ERRORE_GENERICO_STR = "errore_generico";
inline constexpr const char* CODICE_ERRORE_SESSIONE_SCADUTA_STR = "sessione_scaduta";
inline constexpr const char* CODICE_ERRORE_LOGIN_USER_VUOTO_STR = "parametro_user_vuoto";
inline constexpr const char* CODICE_ERRORE_LOGIN_PASSWORD_VUOTO_STR = "parametro_password_vuoto";
inline constexpr const char* CODICE_ERRORE_LOGIN_PASSWORD_LEN_STR =
    "parametro_password_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_LOGIN_FALLITA_STR = "login_fallita";
inline constexpr const char* CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_VUOTO_STR =
    "parametro_selpan_vuoto";
inline constexpr const char* CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_NONNUMERO_STR =
    "parametro_selpan_non_numerico";
inline constexpr const char* CODICE_ERRORE_LISTA_MOVIMENTI_SELPAN_LUNGHEZZA_STR =
    "parametro_selpan_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_PARAMETRI_CARTA_NON_VALIDI_STR =
    "parametri_carta_anonima_non_validi";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CARTA_VUOTA_STR =
    "parametro_numero_carta_vuoto";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CARTA_NON_NUMERO_STR =
    "parametro_numero_carta_non_numerico";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CARTA_LUNGHEZZA_STR =
    "parametro_numero_carta_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CARTA_NON_VALIDA_STR =
    "parametro_numero_carta_non_valido";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_MESE_VUOTO_STR = "parametro_data_mese_vuoto";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_MESE_NON_NUMERO_STR =
    "parametro_data_mese_non_numerico";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_MESE_LUNGHEZZA_STR =
    "parametro_data_mese_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_MESE_VALORE_STR =
    "parametro_data_mese_valore_errato";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_ANNO_VUOTO_STR = "parametro_data_anno_vuoto";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_ANNO_NON_NUMERO_STR =
    "parametro_data_anno_non_numerico";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_ANNO_LUNGHEZZA_STR =
    "parametro_data_anno_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CVV2_VUOTO_STR = "parametro_cvv2_vuoto";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CVV2_NON_NUMERO_STR =
    "parametro_cvv2_non_numerico";
inline constexpr const char* CODICE_ERRORE_INSERIMENTO_CVV2_LUNGHEZZA_STR =
    "parametro_cvv2_lunghezza_errata";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LAT_VUOTO_STR = "parametro_lat_vuoto";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LAT_NON_NUMERO_STR =
    "parametro_lat_non_numerico";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LAT_NON_VALIDO_STR =
    "parametro_lat_non_valido";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LNG_VUOTO_STR = "parametro_lng_vuoto";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LNG_NON_NUMERO_STR =
    "parametro_lng_non_numerico";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_LNG_NON_VALIDO_STR =
    "parametro_lng_non_valido";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_NUMERO_STR =
    "parametro_raggio_non_numerico";
inline constexpr const char* CODICE_ERRORE_TROVA_ATM_RAGGIO_NON_VALIDO_STR =
    "parametro_raggio_non_valido";

// ---- Keys of the session cache. ----
inline constexpr const char* kSessionUsernameKey = "Username_Key";
inline constexpr const char* kListaCarteKey = "listaCarte";
inline constexpr const char* kListaMovCallKey = "ListaMovCall";

// ---- Time limits, in seconds. ----
inline constexpr double kRequestTimeout = 10.0;
inline constexpr double kBannerTimeout = 5.0;
inline constexpr double kLoginCheckTime = 3.0;
inline constexpr double kBannerCheckTime = 2.0;

} // namespace vestrino
