// Built into the terminal client and the application only under the sanitizers: libcurl 7.88 keeps
// the name list of CURLOPT_COOKIEFILE "" (one empty name per handle that switched its cookie engine
// on) past curl_easy_reset and curl_easy_cleanup, 17 bytes a handle, allocated without symbols.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:curl_slist_append\nleak:libcurl.so.4\n";
}
