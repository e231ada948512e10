// A session manager for the session test, speaking XSMP through libSM: it
// prints "SESSION_MANAGER=<address>" and then one line per message of its one
// client ("registered", "property <name> <values>", "interact-request",
// "done <success>", "closed"), and reads commands on its standard input:
// "checkpoint" and "shutdown" (a save-yourself that allows interaction, the
// second ending the session) and "die".
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

SmsConn client = nullptr;
IceConn clientIce = nullptr;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Status Register(SmsConn conn, SmPointer, char* previousId) {
    char* id = SmsGenerateClientID(conn);
    SmsRegisterClientReply(conn, id);
    Say(std::string("registered") + (previousId ? " again" : ""));
    std::free(previousId);
    std::free(id);
    return 1;
}

void InteractRequest(SmsConn conn, SmPointer, int) {
    Say("interact-request");
    SmsInteract(conn);
}

void InteractDone(SmsConn, SmPointer, Bool cancel) {
    Say(std::string("interact-done") + (cancel ? " cancel" : ""));
}

void SaveRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}

void Phase2Request(SmsConn conn, SmPointer) {
    SmsSaveYourselfPhase2(conn);
}

void Done(SmsConn conn, SmPointer, Bool success) {
    Say(std::string("done ") + (success ? "1" : "0"));
    SmsSaveComplete(conn);
}

void Closed(SmsConn conn, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(clientIce, False);
    IceCloseConnection(clientIce);
    client = nullptr;
    clientIce = nullptr;
    Say("closed");
}

void SetProperties(SmsConn, SmPointer, int count, SmProp** props) {
    for (int i = 0; i < count; ++i) {
        std::string line = std::string("property ") + props[i]->name;
        for (int v = 0; v < props[i]->num_vals; ++v)
            line += " " + std::string(static_cast<const char*>(props[i]->vals[v].value),
                                      std::size_t(props[i]->vals[v].length));
        Say(line);
    }
    SmFreeProperty(*props);
    for (int i = 1; i < count; ++i)
        SmFreeProperty(props[i]);
    std::free(props);
}

void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void GetProperties(SmsConn conn, SmPointer) {
    SmsReturnProperties(conn, 0, nullptr);
}

Status NewClient(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* cb, char**) {
    client = conn;
    *mask = ~0ul;
    cb->register_client.callback = Register;
    cb->interact_request.callback = InteractRequest;
    cb->interact_done.callback = InteractDone;
    cb->save_yourself_request.callback = SaveRequest;
    cb->save_yourself_phase2_request.callback = Phase2Request;
    cb->save_yourself_done.callback = Done;
    cb->close_connection.callback = Closed;
    cb->set_properties.callback = SetProperties;
    cb->delete_properties.callback = DeleteProperties;
    cb->get_properties.callback = GetProperties;
    return 1;
}

Bool AnyHost(char*) {
    return True;
}

void Command(const std::string& command) {
    if (!client) return Say("no client");
    if (command == "checkpoint")
        SmsSaveYourself(client, SmSaveBoth, False, SmInteractStyleAny, False);
    else if (command == "shutdown")
        SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleAny, False);
    else if (command == "die")
        SmsDie(client);
    else
        Say("unknown command " + command);
}

}  // namespace

int main() {
    char error[256];
    if (!SmsInitialize("casino-test", "1", NewClient, nullptr, AnyHost, sizeof error, error)) {
        std::fprintf(stderr, "sm_driver: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "sm_driver: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char* address = IceComposeNetworkIdList(count, listeners);
    Say(std::string("SESSION_MANAGER=") + address);
    std::free(address);

    std::string input;
    for (;;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        if (clientIce) fds.push_back({IceConnectionNumber(clientIce), POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) return 1;
        if (fds[0].revents) {
            char bytes[256];
            const ssize_t n = read(STDIN_FILENO, bytes, sizeof bytes);
            if (n <= 0) return 0;
            input.append(bytes, std::size_t(n));
            for (std::size_t end; (end = input.find('\n')) != std::string::npos;) {
                Command(input.substr(0, end));
                input.erase(0, end + 1);
            }
        }
        for (int i = 0; i < count; ++i) {
            if (!fds[std::size_t(i) + 1].revents) continue;
            IceAcceptStatus status;
            IceConn conn = IceAcceptConnection(listeners[i], &status);
            if (!conn) continue;
            while (IceConnectionStatus(conn) == IceConnectPending)
                IceProcessMessages(conn, nullptr, nullptr);
            if (IceConnectionStatus(conn) == IceConnectAccepted) clientIce = conn;
        }
        if (clientIce && fds.back().revents && fds.back().fd == IceConnectionNumber(clientIce) &&
            IceProcessMessages(clientIce, nullptr, nullptr) != IceProcessMessagesSuccess &&
            clientIce) {
            IceCloseConnection(clientIce);
            clientIce = nullptr;
            client = nullptr;
            Say("closed");
        }
    }
}
