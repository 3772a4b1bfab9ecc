// HTTP requests to a board server, through libcurl.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

struct HttpResponse {
  long status = 0;
  std::string body;
};

struct FormField {
  std::string name;
  std::string value;
  bool isFile = false;  // sent as a file part (named `name`.replay)
};

// GET `url`, or POST `form` as multipart/form-data when it is not empty. Null with `error`
// set when no answer came (no server, refused, timed out after `timeoutSeconds`).
std::optional<HttpResponse> httpRequest(const std::string& url, const std::vector<FormField>& form,
                                        long timeoutSeconds, std::string& error);

}  // namespace platform
