#include "OrderServer.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace pavlora::orderserver {
namespace {

namespace fs = std::filesystem;

// The user elements of "useradd_request" and "userchange_request".
const char* const kUserElements[] = {"email", "pwd", "sec_question", "sec_answer", "salutation", "title", "firstname",
    "lastname", "street", "zip", "city", "city_part", "country", "iso_country", "phone", "cellularphone",
    "company_name", "state_province", "customer_card", "fax", "imei", "favorite_loc_id", "accept_news_letter"};

// What "userinfo_request" answers, in this order.
const char* const kUserInfoElements[] = {"user_id", "email", "sec_question", "sec_answer", "salutation", "title",
    "firstname", "lastname", "company_name", "street", "zip", "city", "city_part", "country", "iso_country", "phone",
    "cellularphone", "fax", "state_province", "customer_card", "imei", "favorite_loc_id", "accept_news_letter"};

const char* const kShippingAttributes[] = {"salutation", "firstname", "lastname", "company_name", "street", "zip",
    "city", "country", "iso_country", "phone", "cellularphone", "fax", "state_province"};

std::mutex outputMutex;

void Announce(const std::string& line)
{
    std::lock_guard<std::mutex> lock(outputMutex);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Text(const pugi::xml_node& node, const char* name)
{
    return node.child(name).text().get();
}

// A file name of an order: a bare name of safe characters.
bool IsSafeFileName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name.front() == '.')
        return false;
    return std::all_of(
        name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_' || c == '-' || c == '.'; });
}

bool ParseSize(const std::string& text, std::int64_t& value)
{
    if (text.empty() || text.size() > 12 || !std::all_of(text.begin(), text.end(), ::isdigit))
        return false;
    value = std::stoll(text);
    return true;
}

std::string Base64(const std::string& bytes)
{
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
        reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

void AddText(pugi::xml_node parent, const char* name, const std::string& text)
{
    parent.append_child(name).text().set(text.c_str());
}

// Each attribute of `from` becomes a text element of `to`.
void AttributesToElements(const pugi::xml_node& from, pugi::xml_node to)
{
    for (const pugi::xml_attribute& attribute : from.attributes())
        AddText(to, attribute.name(), attribute.value());
}

// Writes `bytes` to `path` through a temporary sibling.
void WriteFileAtomically(const fs::path& path, const std::string& bytes)
{
    const fs::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + temporary.string());
    }
    fs::rename(temporary, path);
}

// A response that closes the connection without a complete answer.
void DropConnection(httplib::Response& response)
{
    response.set_content_provider(1024, "text/xml", [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
}

// The response document under construction.
struct Reply {
    pugi::xml_document document;
    pugi::xml_node root;
    pugi::xml_node head;
    pugi::xml_node content;

    explicit Reply(const std::string& rootName)
    {
        pugi::xml_node declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "UTF-8";
        root = document.append_child(rootName.c_str());
        head = root.append_child("head");
        AddText(head, "errorcode", "0");
        AddText(head, "errortext", "");
        content = root.append_child("content");
    }
    void Fail(const std::string& code, const std::string& text)
    {
        head.child("errorcode").text().set(code.c_str());
        head.child("errortext").text().set(text.c_str());
    }
    std::string Xml() const
    {
        std::ostringstream out;
        document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
        return out.str();
    }
};

std::string ResponseName(const std::string& requestName)
{
    const std::string suffix = "_request";
    if (requestName.size() > suffix.size() && requestName.ends_with(suffix))
        return requestName.substr(0, requestName.size() - suffix.size()) + "_response";
    return "server_error";
}

} // namespace

TOrderServer::TOrderServer(TServerOptions options)
    : options_(std::move(options))
{
}

void TOrderServer::SetPorts(int httpPort, int httpsPort)
{
    httpPort_ = httpPort;
    httpsPort_ = httpsPort;
}

void TOrderServer::Load()
{
    pugi::xml_document document;
    const fs::path path = options_.dataFolder / "server.xml";
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed)
        throw std::runtime_error("cannot read " + path.string() + ": " + parsed.description());
    const pugi::xml_node root = document.child("order_server");
    for (const pugi::xml_node& ka : root.child("keyaccounts").children("ka"))
        keyAccounts_.push_back(ka.attribute("id").value());
    for (const pugi::xml_node& node : root.child("accounts").children("account")) {
        Account account;
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            if (std::string(attribute.name()) == "login_code")
                account.loginCode = attribute.value();
            else
                account.fields[attribute.name()] = attribute.value();
        }
        for (const pugi::xml_attribute& attribute : node.child("shipping").attributes())
            account.shipping[attribute.name()] = attribute.value();
        accounts_[Lower(account.fields["email"])] = account;
    }
    for (const pugi::xml_node& node : root.child("coupons").children("coupon")) {
        Coupon coupon;
        coupon.used = node.attribute("used").as_bool();
        for (const pugi::xml_node& entry : node.children("entry"))
            coupon.entries.emplace_back(entry.attribute("campaign_no").value(), entry.attribute("price").value());
        coupons_[node.attribute("id").value()] = coupon;
    }
    for (const char* list : {"countries", "stores", "payments", "creditcards", "mailorder"}) {
        const pugi::xml_node node = root.child(list);
        if (node)
            lists_.append_copy(node);
    }
    fs::create_directories(options_.ordersFolder);
}

void TOrderServer::Register(httplib::Server& server, bool secure)
{
    server.Post("/zode", [this, secure](const httplib::Request& request, httplib::Response& response) {
        HandleZode(request, response, secure);
    });
    server.Post("/upload",
        [this, secure](const httplib::Request& request, httplib::Response& response,
            const httplib::ContentReader& reader) { HandleUpload(request, response, reader, secure); });
}

void TOrderServer::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
}

void TOrderServer::Delay(const std::string& name)
{
    for (const std::string& key : {name, std::string("*")}) {
        const auto found = options_.faults.delaysMs.find(key);
        if (found != options_.faults.delaysMs.end()) {
            std::unique_lock<std::mutex> lock(mutex_);
            stopped_.wait_for(lock, std::chrono::milliseconds(found->second), [this] { return stopping_; });
            return;
        }
    }
}

bool TOrderServer::TakeDrop(const std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = options_.faults.drops.find(name);
    return found != options_.faults.drops.end() && found->second.Take();
}

std::optional<std::string> TOrderServer::TakeAnswer(const std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = options_.faults.answers.find(name);
    if (found == options_.faults.answers.end() || !found->second.count.Take())
        return std::nullopt;
    return found->second.errorCode;
}

std::string TOrderServer::NewId(const char* prefix)
{
    unsigned char random[12];
    if (RAND_bytes(random, sizeof random) != 1)
        throw std::runtime_error("no random bytes");
    static const char digits[] = "0123456789abcdef";
    std::string id = prefix;
    for (unsigned char byte : random) {
        id += digits[byte >> 4];
        id += digits[byte & 15];
    }
    return id;
}

fs::path TOrderServer::IncomingFolder(const std::string& ocsid) const
{
    return options_.ordersFolder / ".incoming" / ocsid;
}

std::optional<std::string> TOrderServer::TakeRedirect(const std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = options_.faults.redirects.find(name);
    if (found == options_.faults.redirects.end() || !found->second.count.Take())
        return std::nullopt;
    return WithPorts(found->second.location);
}

std::string TOrderServer::WithPorts(std::string text) const
{
    for (const auto& [placeholder, port] : {std::pair<std::string, int>{"{http}", httpPort_.load()},
             std::pair<std::string, int>{"{https}", httpsPort_.load()}}) {
        for (std::size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at))
            text.replace(at, placeholder.size(), std::to_string(port));
    }
    return text;
}

void TOrderServer::HandleZode(const httplib::Request& request, httplib::Response& response, bool secure)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(request.body.data(), request.body.size());
    const pugi::xml_node root = document.document_element();
    if (!parsed || !root) {
        Announce("request (malformed)");
        Reply reply("server_error");
        reply.Fail("3", "malformed request");
        response.set_content(reply.Xml(), "text/xml");
        return;
    }
    const std::string name = root.name();
    Announce("request " + name);
    Delay(name);
    if (TakeDrop(name)) {
        DropConnection(response);
        return;
    }
    if (const std::optional<std::string> location = TakeRedirect(name)) {
        // 307 keeps the method and the body.
        response.status = 307;
        response.set_header("Location", *location);
        return;
    }
    if (const std::optional<std::string> code = TakeAnswer(name)) {
        Reply reply(ResponseName(name));
        reply.Fail(*code, "injected error " + *code);
        response.set_content(reply.Xml(), "text/xml");
        return;
    }
    response.set_content(Answer(name, root, secure), "text/xml");
}

std::string TOrderServer::Answer(const std::string& name, const pugi::xml_node& root, bool secure)
{
    std::lock_guard<std::mutex> lock(mutex_);
    Reply reply(ResponseName(name));
    pugi::xml_node content = reply.content;

    if (name == "zode2_request") {
        // With TLS the client is sent to the TLS port.
        const int port = httpsPort_ ? httpsPort_.load() : httpPort_.load();
        const std::string base = options_.advertisedHost + ":" + std::to_string(port);
        AddText(content, "url", base + "/zode");
        AddText(content, "dtd_url", base + "/dtd");
        pugi::xml_node servers = content.append_child("zode_servers");
        pugi::xml_node server = servers.append_child("server");
        AddText(server, "url", base + "/zode");
        AddText(server, "dtd_url", base + "/dtd");
        return reply.Xml();
    }
    if (name == "session_request") {
        const std::string keyAccount = Text(root, "keyacc_id");
        if (std::find(keyAccounts_.begin(), keyAccounts_.end(), keyAccount) == keyAccounts_.end()) {
            reply.Fail("3", "unknown key account");
            return reply.Xml();
        }
        const std::string ocsid = NewId("s");
        sessions_[ocsid].keyAccount = keyAccount;
        AddText(content, "ocsid", ocsid);
        return reply.Xml();
    }

    const auto found = sessions_.find(Text(root, "ocsid"));
    if (found == sessions_.end()) {
        reply.Fail("3", "no session");
        return reply.Xml();
    }
    Session& session = found->second;
    Account* account = nullptr;
    if (!session.login.empty()) {
        const auto known = accounts_.find(session.login);
        account = known == accounts_.end() ? nullptr : &known->second;
    }

    if (name == "endsession_request") {
        std::error_code ignored;
        fs::remove_all(IncomingFolder(found->first), ignored);
        sessions_.erase(found);
    } else if (name == "login_request") {
        const auto known = accounts_.find(Lower(Text(root, "login")));
        if (known == accounts_.end() || known->second.fields["pwd"] != Text(root, "pwd")) {
            reply.Fail("2", "login failed");
        } else {
            session.login = known->first;
            if (known->second.loginCode != "0")
                reply.Fail(known->second.loginCode, "logged in with notice");
        }
    } else if (name == "useradd_request") {
        const std::string email = Text(root, "email");
        if (email.find('@') == std::string::npos) {
            reply.Fail("5", "invalid e-mail address");
        } else if (accounts_.count(Lower(email))) {
            reply.Fail("68", "user exists");
        } else {
            Account created;
            for (const char* element : kUserElements)
                created.fields[element] = Text(root, element);
            created.fields["user_id"] = std::to_string(1000 + accounts_.size());
            accounts_[Lower(email)] = created;
        }
    } else if (name == "secquestion_request" || name == "secanswer_request") {
        const auto known = accounts_.find(Lower(Text(root, "login")));
        if (known == accounts_.end())
            reply.Fail("81", "unknown user");
        else if (name == "secquestion_request")
            AddText(content, "question", known->second.fields["sec_question"]);
        else if (known->second.fields["sec_answer"] != Text(root, "sec_answer"))
            reply.Fail("80", "wrong answer");
    } else if (name == "countrylist_request") {
        for (const pugi::xml_node& country : lists_.child("countries").children())
            AttributesToElements(country, content.append_child("country"));
    } else if (name == "locationlist_request") {
        const std::string zip = Text(root, "zip");
        const std::string city = Lower(Text(root, "city"));
        if (!root.child("zip") && !root.child("city")) {
            reply.Fail("14", "no zip or city");
        } else {
            for (const pugi::xml_node& store : lists_.child("stores").children()) {
                const bool match = root.child("zip") ? std::string(store.attribute("zip").value()).starts_with(zip)
                                                     : Lower(store.attribute("city").value()) == city;
                if (!match)
                    continue;
                pugi::xml_node location = content.append_child("location");
                for (const char* field : {"loc_id", "name", "street", "zip", "city", "phone", "fax"})
                    AddText(location, field, store.attribute(field).value());
            }
        }
    } else if (name == "mailorderlocation_request") {
        pugi::xml_node location = content.append_child("location");
        AttributesToElements(lists_.child("mailorder"), location);
    } else if (name == "paymentinfo_request") {
        pugi::xml_node list = content.append_child("paymentlist");
        for (const pugi::xml_node& payment : lists_.child("payments").children())
            AttributesToElements(payment, list.append_child("payment"));
    } else if (name == "creditcards_request") {
        const pugi::xml_node cards = lists_.child("creditcards");
        if (!cards.first_child())
            reply.Fail("617", "no credit cards");
        for (const pugi::xml_node& card : cards.children())
            AttributesToElements(card, content.append_child("card"));
    } else if (name == "couponcheck_request") {
        const auto coupon = coupons_.find(Text(root, "couponid"));
        if (coupon == coupons_.end()) {
            reply.Fail("70", "unknown coupon");
        } else if (coupon->second.used) {
            reply.Fail("72", "coupon used");
        } else {
            pugi::xml_node list = content.append_child("coupons");
            for (const auto& [campaign, price] : coupon->second.entries) {
                pugi::xml_node entry = list.append_child("coupon");
                entry.append_attribute("campaign_no") = campaign.c_str();
                entry.append_attribute("price") = price.c_str();
            }
        }
    } else if (name == "articlelist_request" || name == "transferlist_request") {
        const std::string file
            = (name == "articlelist_request" ? "articlelist_" : "transferlist_") + session.keyAccount + ".xml";
        pugi::xml_document list;
        if (IsSafeFileName(file) && list.load_file((options_.dataFolder / file).c_str())) {
            // The stored file's root element stands for "content".
            for (const pugi::xml_node& child : list.document_element().children())
                content.append_copy(child);
        } else {
            reply.Fail("3", "no price list for key account " + session.keyAccount);
        }
    } else if (!account) {
        reply.Fail("3", "not logged in");
    } else if (name == "userinfo_request") {
        for (const char* element : kUserInfoElements)
            AddText(content, element, account->fields[element]);
    } else if (name == "addressinfo_request") {
        if (!account->shipping.empty()) {
            pugi::xml_node data
                = content.append_child("addresses").append_child("address").append_child("address_data");
            for (const char* attribute : kShippingAttributes)
                data.append_attribute(attribute) = account->shipping[attribute].c_str();
        }
    } else if (name == "userchange_request") {
        const std::string email = Text(root, "email");
        if (root.child("email") && email.find('@') == std::string::npos) {
            reply.Fail("5", "invalid e-mail address");
        } else if (root.child("email") && Lower(email) != session.login && accounts_.count(Lower(email))) {
            reply.Fail("68", "user exists");
        } else {
            Account changed = *account;
            for (const char* element : kUserElements) {
                if (root.child(element))
                    changed.fields[element] = Text(root, element);
            }
            accounts_.erase(session.login);
            session.login = Lower(changed.fields["email"]);
            accounts_[session.login] = changed;
        }
    } else if (name == "orderdeclaration_request" || name == "cdorderdeclaration_request") {
        std::vector<DeclaredFile> files;
        bool valid = true;
        for (const pugi::xpath_node& part : root.select_nodes(".//part[@type='file']")) {
            DeclaredFile file;
            file.name = part.node().attribute("filename").value();
            if (!ParseSize(part.node().attribute("filesize").value(), file.size))
                file.size = -1;
            const bool duplicate = std::any_of(
                files.begin(), files.end(), [&](const DeclaredFile& other) { return other.name == file.name; });
            if (!IsSafeFileName(file.name)) {
                valid = false;
                break;
            }
            if (!duplicate)
                files.push_back(file);
        }
        if (!valid) {
            reply.Fail("3", "invalid file name in the declaration");
        } else {
            std::ostringstream text;
            root.print(text, "  ");
            session.declaration = text.str();
            session.files = files;
            session.uploadIndex = 0;
            std::error_code ignored;
            fs::remove_all(IncomingFolder(found->first), ignored);
            fs::create_directories(IncomingFolder(found->first));
            if (name == "cdorderdeclaration_request") {
                const std::string orderId = std::to_string(200000 + ++counter_);
                AddText(content, "ordertxt", Base64("[MAIN]\r\nORDERID=" + orderId + "\r\n"));
                AddText(content, "pay_no", "P" + orderId);
                AddText(content, "ord_id", orderId);
            }
        }
    } else if (name == "uploadctrl_request") {
        std::int64_t submitted = 0;
        std::int64_t total = 0;
        const DeclaredFile* next = nullptr;
        for (const DeclaredFile& file : session.files) {
            total += std::max<std::int64_t>(file.size, 0);
            if (file.received)
                submitted += std::max<std::int64_t>(file.size, 0);
            else if (!next)
                next = &file;
        }
        if (!next) {
            reply.Fail("53", "no more files");
        } else {
            session.uploadId = NewId("u");
            pugi::xml_node upload = content.append_child("upload");
            AddText(upload, "uplid", session.uploadId);
            const int port = secure ? httpsPort_.load() : httpPort_.load();
            AddText(upload, "uplurl",
                options_.faults.uploadUrl.empty()
                    ? std::string(secure ? "https://" : "http://") + "127.0.0.1:" + std::to_string(port) + "/upload"
                    : WithPorts(options_.faults.uploadUrl));
            AddText(upload, "filename", next->name);
            AddText(upload, "submitted_bytes", std::to_string(submitted));
            AddText(upload, "total_bytes", std::to_string(total));
        }
    } else if (name == "orderfinish_request") {
        const bool complete = !session.files.empty()
            && std::all_of(
                session.files.begin(), session.files.end(), [](const DeclaredFile& file) { return file.received; });
        if (session.declaration.empty() || !complete) {
            reply.Fail("3", "order incomplete");
        } else {
            const std::string orderId = std::to_string(100000 + ++counter_);
            const fs::path incoming = IncomingFolder(found->first);
            WriteFileAtomically(incoming / "declaration.xml", session.declaration);
            fs::rename(incoming, options_.ordersFolder / orderId);
            session.declaration.clear();
            session.files.clear();
            AddText(content, "ord_id", orderId);
            Announce("order " + orderId);
        }
    } else {
        reply.Fail("3", "unknown request " + name);
    }
    return reply.Xml();
}

void TOrderServer::HandleUpload(
    const httplib::Request& request, httplib::Response& response, const httplib::ContentReader& reader, bool secure)
{
    Announce("request upload");
    Delay("upload");
    bool drop = false;
    std::int64_t dropAfter = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (options_.faults.uploadDrop && options_.faults.uploadDrop->count.Take())
            dropAfter = options_.faults.uploadDrop->afterBytes;
    }

    std::string part; // name of the current form field
    std::string uploadId;
    std::string ocsid;
    std::string fileName;
    fs::path temporary;
    std::ofstream out;
    std::int64_t written = 0;
    std::string failure;
    bool discard = false; // an upload without an order, read and dropped

    const auto beginFile = [&]() -> bool {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& [id, session] : sessions_) {
            if (!uploadId.empty() && session.uploadId == uploadId) {
                ocsid = id;
                for (const DeclaredFile& file : session.files) {
                    if (!file.received) {
                        fileName = file.name;
                        break;
                    }
                }
            }
        }
        if ((ocsid.empty() || fileName.empty()) && options_.acceptAnyUpload) {
            discard = true;
            return true;
        }
        if (ocsid.empty() || fileName.empty()) {
            failure = "unknown upload id";
            return false;
        }
        temporary = IncomingFolder(ocsid) / (fileName + ".part");
        out.open(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            failure = "cannot store the file";
            return false;
        }
        return true;
    };

    (void)secure;
    const bool read = reader(
        [&](const httplib::MultipartFormData& field) {
            part = field.name;
            if (part == "filename")
                return beginFile();
            return true;
        },
        [&](const char* data, std::size_t length) {
            if (part == "uplid") {
                if (uploadId.size() + length > 64)
                    return false;
                uploadId.append(data, length);
            } else if (part == "filename") {
                if (dropAfter >= 0 && written + static_cast<std::int64_t>(length) > dropAfter) {
                    drop = true;
                    return false;
                }
                if (!discard)
                    out.write(data, static_cast<std::streamsize>(length));
                written += static_cast<std::int64_t>(length);
            }
            return true;
        });
    if (out.is_open())
        out.close();

    if (drop) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        DropConnection(response);
        return;
    }
    Reply reply("upload_response");
    if (read && discard) {
        response.set_content(reply.Xml(), "text/xml");
        return;
    }
    if (!read || ocsid.empty() || !out) {
        std::error_code ignored;
        if (!temporary.empty())
            fs::remove(temporary, ignored);
        reply.Fail("3", failure.empty() ? "upload failed" : failure);
        response.status = 400;
        response.set_content(reply.Xml(), "text/xml");
        return;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const auto session = sessions_.find(ocsid);
    if (session == sessions_.end()) {
        reply.Fail("3", "no session");
    } else {
        for (DeclaredFile& file : session->second.files) {
            if (file.name != fileName)
                continue;
            if (file.size >= 0 && file.size != written) {
                std::error_code ignored;
                fs::remove(temporary, ignored);
                reply.Fail("3", "size differs from the declaration");
                break;
            }
            fs::rename(temporary, IncomingFolder(ocsid) / fileName);
            file.received = true;
            break;
        }
    }
    (void)request;
    response.set_content(reply.Xml(), "text/xml");
}

} // namespace pavlora::orderserver
