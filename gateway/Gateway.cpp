#include "gateway/Gateway.h"

#include <algorithm>

#include "calibrator/LCX.h"
#include "transport/Identity.h"

namespace vadero::gateway {

using namespace std::chrono_literals;

Gateway::Gateway(HidLayer& hid, EventLoop& loop, const GatewaySettings& settings, Log log)
    : hid_(hid),
      loop_(loop),
      settings_(settings),
      log_(std::move(log)),
      probe_(TransportEnv{hid, loop}),
      surveyTimer_(loop.CreateTimer()),
      queue_(loop, [this](const std::shared_ptr<GatewayQueue::Call>& call) { take(call); }) {
    probe_.SetProductIdent(std::string(lcx3::kProduct));
    // Listening first: an address taken fails before any calibrator is opened.
    server_ = std::make_unique<GatewayServer>(
        settings_.listen, settings_.limits,
        [this](const std::string& peer, const Adu& request) { return handle(peer, request); },
        log_);
    if (!settings_.bench)
        addLine();
    survey();
    surveyTimer_->Start(settings_.survey, [this] { survey(); });
    log_("listening on " + server_->Address() +
         (server_->Loopback()
              ? " (this machine only)"
              : ", beyond this machine: every host that reaches it may read the calibrator" +
                    std::string(settings_.readOnly ? "" : " and write it")) +
         (settings_.readOnly ? ", read only" : ""));
    server_->Start();
}

Gateway::~Gateway() {
    queue_.Close();  // no client thread waits for the loop any more
    server_.reset();
}

void Gateway::Stop() {
    surveyTimer_->Stop();
    queue_.Refuse();
    // A request may wait for the line (late answers to a re-send) before its three sends.
    loop_.RunUntil(
        [this] {
            return std::all_of(lines_.begin(), lines_.end(),
                               [](const auto& l) { return l->Idle(); });
        },
        (2 * GatewayLine::kSends + 1) * TCustomLCX::kTick + 1s);
    queue_.Close();
    server_->Stop();
}

std::string Gateway::units(std::size_t line) const {
    return settings_.bench ? "unit " + std::to_string(line + 1) : "units 100, 255, 0";
}

int Gateway::number(std::size_t line) const {
    return settings_.bench ? int(line) + 1 : settings_.device;
}

void Gateway::say(std::size_t line, const std::string& text) {
    if (said_[line] == text)
        return;
    said_[line] = text;
    log_(units(line) + ": " + text);
}

void Gateway::addLine() {
    const std::size_t k = lines_.size();
    GatewayLine::Note note;
    if (settings_.trace)
        note = [this, k](const std::string& text) { log_(units(k) + ": " + text); };
    lines_.push_back(std::make_unique<GatewayLine>(hid_, loop_, note));
    said_.emplace_back();
    lines_.back()->OnConnection = [this, k](bool connected) {
        const std::string which = "calibrator " + std::to_string(number(k));
        say(k, connected ? which + " is back"
                         : which + " unplugged; answered with exception 0x0A until it is back");
    };
}

std::string Gateway::matchingPath(int n) {
    const int listed = probe_.EnumerateDevices();
    for (int k = 1, found = 0; k <= listed; ++k)
        if (probe_.Matches(k) && ++found == n)
            return probe_.GetDevicePath(k - 1);
    return {};
}

// Opens each calibrator served that is not there yet, or that went away and
// is listed again (under another path, which its reader does not follow).
void Gateway::survey() {
    const bool waiting = std::any_of(lines_.begin(), lines_.end(),
                                     [](const auto& l) { return !l->Opened() || l->Gone(); });
    if (!waiting && !settings_.bench)
        return;
    const int count = probe_.GetDeviceCount();
    if (settings_.bench) {
        // Calibrators plugged in later take the next units.
        while (int(lines_.size()) < count) addLine();
        const bool none = count == 0 && lines_.empty();
        if (none && !saidNone_)
            log_("no matching calibrator yet; every unit is answered with exception 0x0A");
        saidNone_ = none;
    }
    for (std::size_t k = 0; k < lines_.size(); ++k) open(k, count);
}

void Gateway::open(std::size_t k, int count) {
    GatewayLine& line = *lines_[k];
    if (line.Opened() && !(line.Gone() && !settings_.bench))
        return;
    const int n = number(k);
    // A bench's numbers shift when one goes: never a second line on a calibrator served.
    if (n <= count && settings_.bench) {
        const std::string path = matchingPath(n);
        if (std::any_of(lines_.begin(), lines_.end(),
                        [&](const auto& l) { return l->Opened() && l->Path() == path; }))
            return;
    }
    if (n <= count && line.Open(n)) {
        say(k, "calibrator " + std::to_string(n) +
                   (line.Serial().empty() ? "" : ", serial " + line.Serial()) + " (" + line.Path() +
                   ")");
        return;
    }
    if (line.Opened())
        return;  // gone, and not listed again: its reader waits for it
    const std::string text =
        n <= count ? "calibrator " + std::to_string(n) +
                         " cannot be opened; answered with exception 0x0A until it can"
                   : "no calibrator number " + std::to_string(n) + " (" + std::to_string(count) +
                         " found); answered with exception 0x0A until one is plugged in";
    if (said_[k] != text && settings_.blocked)
        for (const std::string& why : settings_.blocked()) log_("  " + why);
    say(k, text);
}

void Gateway::take(const std::shared_ptr<GatewayQueue::Call>& call) {
    GatewayQueue::Call& c = *call;
    const int target = RouteUnit(c.unit, int(lines_.size()), settings_.bench);
    if (target == 0 || !lines_[std::size_t(target - 1)]->Opened()) {
        queue_.Answer(c, ExceptionPdu(c.forward.function, kPathUnavailable));
        return;
    }
    lines_[std::size_t(target - 1)]->Enqueue(
        {c.forward, [this, call](Bytes reply) { queue_.Answer(*call, std::move(reply)); }});
}

std::optional<Bytes> Gateway::handle(const std::string& peer, const Adu& request) {
    const std::uint8_t function = request.pdu.front();
    // A unit that can never be served is answered before the request is looked at.
    const int anyLine = settings_.bench ? 255 : 1;
    std::optional<Bytes> reply;
    if (RouteUnit(request.unit, anyLine, settings_.bench) == 0) {
        reply = ExceptionPdu(function, kPathUnavailable);
    } else {
        Translation t = Translate(request.pdu, lcx3::kSlave, settings_.readOnly);
        if (!t.forward)
            reply = std::move(t.reply);
        else
            reply = queue_.Ask(request.unit, std::move(*t.forward));
    }
    if (reply && settings_.trace)
        log_(peer + " unit " + std::to_string(request.unit) + " function " +
             std::to_string(function) + ": " + DescribeReply(*reply));
    return reply;
}

}  // namespace vadero::gateway
