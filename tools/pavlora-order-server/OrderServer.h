#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
} // namespace httplib

namespace pavlora::orderserver {

// Faults the server injects on request, so that the client's retry, abort
// and resume paths meet real failures.
struct TFaults {
    struct Count {
        int remaining = -1; // -1 = every time
        bool Take()
        {
            if (remaining == 0)
                return false;
            if (remaining > 0)
                --remaining;
            return true;
        }
    };
    struct Answer {
        std::string errorCode;
        Count count;
    };
    struct Drop {
        std::int64_t afterBytes = 0;
        Count count;
    };
    std::map<std::string, Answer> answers; // request name -> error code to answer
    std::map<std::string, Count> drops; // request name -> close without an answer
    std::map<std::string, int> delaysMs; // request name, "upload" or "*" -> delay
    std::optional<Drop> uploadDrop; // close an upload after N bytes of its file
    struct Redirect {
        std::string location; // "{http}" and "{https}" stand for the ports
        Count count;
    };
    std::map<std::string, Redirect> redirects; // request name -> answered with 307 to the location
    std::string uploadUrl; // the "uplurl" to hand out instead of the server's own (same placeholders)
};

struct TServerOptions {
    std::filesystem::path dataFolder;
    std::filesystem::path ordersFolder;
    std::string advertisedHost = "127.0.0.1"; // the host the discovery answer names
    bool acceptAnyUpload = false; // read and discard uploads without an upload id (benchmarks)
    TFaults faults;
};

// The server side of the ZODE protocol over a folder of demo data: accounts,
// sessions, key accounts, the lists the client fetches, coupons, price
// lists, order declarations, the server-driven upload and finished orders.
//
// Handlers run on the HTTP servers' worker threads; all state is guarded by
// one lock. Every request is announced on stdout as "request NAME" before
// it is answered, so a test can see what reached the server.
class TOrderServer {
public:
    explicit TOrderServer(TServerOptions options);

    // Reads "server.xml" of the data folder; throws std::runtime_error.
    void Load();

    // Registers the ZODE and upload routes. `secure` tells the handlers
    // which scheme the client used; `ownPort` is the port of that server.
    void Register(httplib::Server& server, bool secure);

    void SetPorts(int httpPort, int httpsPort);
    // Ends the injected delays at once (shutdown).
    void Stop();

private:
    struct Account {
        std::map<std::string, std::string> fields; // the 23 user elements and the user id
        std::map<std::string, std::string> shipping; // attributes of the shipping address
        std::string loginCode = "0";
    };
    struct DeclaredFile {
        std::string name;
        std::int64_t size = 0;
        bool received = false;
    };
    struct Session {
        std::string keyAccount;
        std::string login; // e-mail of the logged-in account, empty before login
        std::string declaration; // XML text of the order declaration
        std::vector<DeclaredFile> files;
        std::string uploadId; // upload id handed out last
        std::size_t uploadIndex = 0;
    };
    struct Coupon {
        bool used = false;
        std::vector<std::pair<std::string, std::string>> entries; // campaign_no, price in cents
    };

    void HandleZode(const httplib::Request& request, httplib::Response& response, bool secure);
    void HandleUpload(const httplib::Request& request, httplib::Response& response,
        const httplib::ContentReader& reader, bool secure);

    // One request document to the response document's text.
    std::string Answer(const std::string& name, const pugi::xml_node& root, bool secure);

    void Delay(const std::string& name);
    bool TakeDrop(const std::string& name);
    std::optional<std::string> TakeAnswer(const std::string& name);
    std::optional<std::string> TakeRedirect(const std::string& name);
    // `text` with "{http}" and "{https}" replaced by the ports.
    std::string WithPorts(std::string text) const;

    std::string NewId(const char* prefix);
    std::filesystem::path IncomingFolder(const std::string& ocsid) const;

    TServerOptions options_;
    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false; // guarded by mutex_
    std::vector<std::string> keyAccounts_;
    std::map<std::string, Account> accounts_; // by lower-case e-mail
    std::map<std::string, Session> sessions_;
    std::map<std::string, Coupon> coupons_;
    pugi::xml_document lists_; // countries, stores, payments, cards, mail-order location
    std::atomic<int> httpPort_{0};
    std::atomic<int> httpsPort_{0};
    std::uint64_t counter_ = 0;
};

} // namespace pavlora::orderserver
