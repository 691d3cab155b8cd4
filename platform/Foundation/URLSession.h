#pragma once
// URLSession: HTTP(S) downloads through libcurl. A request follows redirects,
// refuses plain http:// unless its configuration allows it (redirects included),
// gives up after a timeout, and aborts a body larger than a set maximum. An HTTP
// status such as 404 is a response, not an error.
//
// Thread: any. Blocking requests run on the calling thread; a data task runs on a
// thread of its own and calls its completion there (never on the main thread).

#include "Foundation/Data.h"
#include "Foundation/Date.h"
#include "Foundation/URL.h"
#include "Runtime/Runtime.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

struct URLSessionConfiguration {
    // The whole request, connection included, must finish within this time.
    TimeInterval timeoutInterval = 60;
    // A larger body aborts the request.
    std::size_t maximumBodySize = std::size_t{16} << 20;
    // Plain http:// is refused unless this is set.
    bool allowsInsecureHTTP = false;
    // A PEM file of further certificate authorities to trust besides the
    // system's ("" for none); a test server's own authority, for example.
    std::string additionalTrustedCertificatesFile;
    int maximumRedirects = 10;
};

struct URLError {
    enum class Code {
        badURL,
        unsupportedURL,
        insecureConnectionRefused, // http:// without allowsInsecureHTTP
        timedOut,
        cannotFindHost,
        cannotConnectToHost,
        networkConnectionLost,
        secureConnectionFailed,
        serverCertificateUntrusted,
        dataLengthExceedsMaximum,
        tooManyRedirects,
        cancelled,
        unknown,
    };
    Code code = Code::unknown;
    std::string message;
};

struct HTTPURLResponse {
    URL url; // after redirects
    int statusCode = 0;
    // Header names in lower case; a repeated header keeps its last value.
    std::map<std::string, std::string> headers;
};

struct URLSessionResult {
    Data data; // empty on error
    std::optional<HTTPURLResponse> response;
    std::optional<URLError> error;
    bool ok() const { return !error; }
};

class URLSessionDataTask : public NSObject {
  public:
    // Starts the request on a thread of its own; later calls do nothing.
    void resume();
    // Ends a request in progress with the error `cancelled` (the completion still
    // runs once); before resume(), the completion runs with `cancelled` on resume.
    void cancel() { cancelled.store(true); }

  protected:
    URLSessionDataTask(URL url, URLSessionConfiguration configuration,
                       std::function<void(URLSessionResult)> completion);

  private:
    URL url;
    URLSessionConfiguration configuration;
    std::function<void(URLSessionResult)> completion;
    std::atomic<bool> started{false};
    std::atomic<bool> cancelled{false};
};

class URLSession : public NSObject {
  public:
    // Default configuration: HTTPS only, 60 s, 16 MiB.
    static std::shared_ptr<URLSession> shared();
    static std::shared_ptr<URLSession> withConfiguration(URLSessionConfiguration configuration);

    const URLSessionConfiguration& configuration() const { return config; }

    // Downloads `url`, blocking the calling thread.
    URLSessionResult data(const URL& url) const;
    // A task that downloads `url` once resumed and then calls `completion` on its
    // own thread.
    std::shared_ptr<URLSessionDataTask>
    dataTask(const URL& url, std::function<void(URLSessionResult)> completion) const;

  protected:
    explicit URLSession(URLSessionConfiguration configuration) : config(std::move(configuration)) {}

  private:
    URLSessionConfiguration config;
};
