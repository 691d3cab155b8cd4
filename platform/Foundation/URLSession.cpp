#include "Foundation/URLSession.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <mutex>
#include <thread>

namespace {

struct Transfer {
    const URLSessionConfiguration& config;
    const std::atomic<bool>* cancelled;
    Data body;
    std::map<std::string, std::string> headers;
    bool tooLarge = false;
};

size_t onBody(char* bytes, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    size_t length = size * count;
    if (transfer.body.size() + length > transfer.config.maximumBodySize) {
        transfer.tooLarge = true;
        return 0; // aborts the transfer
    }
    transfer.body.insert(transfer.body.end(), bytes, bytes + length);
    return length;
}

size_t onHeader(char* bytes, size_t size, size_t count, void* context) {
    auto& transfer = *static_cast<Transfer*>(context);
    std::string_view line(bytes, size * count);
    if (line.rfind("HTTP/", 0) == 0) {
        transfer.headers.clear(); // a new response (after a redirect)
    } else if (auto colon = line.find(':'); colon != std::string_view::npos) {
        std::string name(line.substr(0, colon));
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string_view value = line.substr(colon + 1);
        auto first = value.find_first_not_of(" \t");
        auto last = value.find_last_not_of(" \t\r\n");
        transfer.headers[name] = first == std::string_view::npos
                                     ? ""
                                     : std::string(value.substr(first, last - first + 1));
    }
    return size * count;
}

int onProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& transfer = *static_cast<Transfer*>(context);
    return transfer.cancelled && transfer.cancelled->load() ? 1 : 0;
}

URLSessionResult failure(URLError::Code code, std::string message) {
    URLSessionResult result;
    result.error = URLError{code, std::move(message)};
    return result;
}

URLError::Code codeFor(CURLcode code, const Transfer& transfer) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return URLError::Code::timedOut;
    case CURLE_COULDNT_RESOLVE_HOST:
        return URLError::Code::cannotFindHost;
    case CURLE_COULDNT_CONNECT:
        return URLError::Code::cannotConnectToHost;
    case CURLE_PEER_FAILED_VERIFICATION:
        return URLError::Code::serverCertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
        return URLError::Code::secureConnectionFailed;
    case CURLE_FILESIZE_EXCEEDED:
        return URLError::Code::dataLengthExceedsMaximum;
    case CURLE_WRITE_ERROR:
        return transfer.tooLarge ? URLError::Code::dataLengthExceedsMaximum
                                 : URLError::Code::unknown;
    case CURLE_ABORTED_BY_CALLBACK:
        return URLError::Code::cancelled;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return URLError::Code::insecureConnectionRefused;
    case CURLE_TOO_MANY_REDIRECTS:
        return URLError::Code::tooManyRedirects;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return URLError::Code::networkConnectionLost;
    default:
        return URLError::Code::unknown;
    }
}

URLSessionResult perform(const URL& url, const URLSessionConfiguration& config,
                         const std::atomic<bool>* cancelled) {
    static std::once_flag curlReady;
    std::call_once(curlReady, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    if (url.scheme() == "http" && !config.allowsInsecureHTTP)
        return failure(URLError::Code::insecureConnectionRefused,
                       "plain http is refused: " + url.absoluteString());
    if (url.scheme() != "https" && url.scheme() != "http")
        return failure(URLError::Code::unsupportedURL, "unsupported URL: " + url.absoluteString());
    if (url.host().empty())
        return failure(URLError::Code::badURL, "no host in " + url.absoluteString());
    if (cancelled && cancelled->load())
        return failure(URLError::Code::cancelled, "cancelled");

    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return failure(URLError::Code::unknown, "cannot start a transfer");
    Transfer transfer{config, cancelled, {}, {}, false};
    char errorText[CURL_ERROR_SIZE] = {};
    const char* protocols = config.allowsInsecureHTTP ? "http,https" : "https";
    auto timeoutMs = static_cast<long>(std::max(1.0, config.timeoutInterval * 1000));
    CURL* h = curl.get();
    std::string text = url.absoluteString();
    curl_easy_setopt(h, CURLOPT_URL, text.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, protocols);
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(config.maximumRedirects));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L); // safe on any thread
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(config.maximumBodySize));
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!config.additionalTrustedCertificatesFile.empty()) {
        // The extra file replaces the default bundle; the system's folder keeps
        // the system's authorities trusted as well.
        curl_easy_setopt(h, CURLOPT_CAINFO, config.additionalTrustedCertificatesFile.c_str());
        curl_easy_setopt(h, CURLOPT_CAPATH, "/etc/ssl/certs");
    }

    CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) {
        std::string reason = errorText[0] ? errorText : curl_easy_strerror(code);
        if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
            reason = "the body is larger than " + std::to_string(config.maximumBodySize) + " bytes";
        return failure(codeFor(code, transfer), reason);
    }

    URLSessionResult result;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    char* effective = nullptr;
    curl_easy_getinfo(h, CURLINFO_EFFECTIVE_URL, &effective);
    auto finalURL = effective ? URL::string(effective) : std::nullopt;
    result.response = HTTPURLResponse{finalURL.value_or(url), static_cast<int>(status),
                                      std::move(transfer.headers)};
    result.data = std::move(transfer.body);
    return result;
}

} // namespace

URLSessionDataTask::URLSessionDataTask(URL url, URLSessionConfiguration configuration,
                                       std::function<void(URLSessionResult)> completion)
    : url(std::move(url)), configuration(std::move(configuration)),
      completion(std::move(completion)) {}

void URLSessionDataTask::resume() {
    if (started.exchange(true))
        return;
    auto self = sharedAs<URLSessionDataTask>();
    std::thread([self] {
        URLSessionResult result = perform(self->url, self->configuration, &self->cancelled);
        if (self->completion)
            self->completion(std::move(result));
        self->completion = nullptr;
    }).detach();
}

std::shared_ptr<URLSession> URLSession::shared() {
    static const std::shared_ptr<URLSession> session = make<URLSession>(URLSessionConfiguration{});
    return session;
}

std::shared_ptr<URLSession> URLSession::withConfiguration(URLSessionConfiguration configuration) {
    return make<URLSession>(std::move(configuration));
}

URLSessionResult URLSession::data(const URL& url) const {
    return perform(url, config, nullptr);
}

std::shared_ptr<URLSessionDataTask>
URLSession::dataTask(const URL& url, std::function<void(URLSessionResult)> completion) const {
    return make<URLSessionDataTask>(url, config, std::move(completion));
}
