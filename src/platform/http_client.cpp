#include "platform/http_client.h"

#include <curl/curl.h>

#include <memory>

namespace platform {
namespace {

// An answer bigger than this is not a board's: the rest is refused.
constexpr std::size_t kMaxAnswer = std::size_t(8) << 20;

std::size_t collect(char* data, std::size_t size, std::size_t count, void* into) {
  auto& body = *static_cast<std::string*>(into);
  if (body.size() + size * count > kMaxAnswer) return 0;
  body.append(data, size * count);
  return size * count;
}

}  // namespace

std::optional<HttpResponse> httpRequest(const std::string& url, const std::vector<FormField>& form,
                                        long timeoutSeconds, std::string& error) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(initialised ? curl_easy_init() : nullptr,
                                                           curl_easy_cleanup);
  if (!curl) {
    error = "the HTTP library could not start";
    return std::nullopt;
  }
  HttpResponse response;
  char message[CURL_ERROR_SIZE] = "";
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_TIMEOUT, timeoutSeconds);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 10L);
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, message);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &response.body);
  std::unique_ptr<curl_mime, decltype(&curl_mime_free)> mime(nullptr, curl_mime_free);
  if (!form.empty()) {
    mime.reset(curl_mime_init(handle));
    for (const FormField& field : form) {
      curl_mimepart* part = curl_mime_addpart(mime.get());
      curl_mime_name(part, field.name.c_str());
      curl_mime_data(part, field.value.data(), field.value.size());
      if (field.isFile) curl_mime_filename(part, (field.name + ".replay").c_str());
    }
    curl_easy_setopt(handle, CURLOPT_MIMEPOST, mime.get());
  }
  const CURLcode code = curl_easy_perform(handle);
  if (code != CURLE_OK) {
    error = message[0] != '\0' ? message : curl_easy_strerror(code);
    return std::nullopt;
  }
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
  return response;
}

}  // namespace platform
