#pragma once
// A standard Modbus TCP client (libmodbus) for the gateway's tests: each call
// gives the values, or the exception code the gateway answered.

#include <modbus/modbus.h>

#include <cerrno>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vadero::test {

struct Reply {
    int exception = 0;  // 0: answered; -1: no reply at all
    std::vector<std::uint16_t> values;
};

class ModbusClient {
  public:
    // Waits up to 5 s for each reply: the gateway tries a silent calibrator for 2.25 s.
    explicit ModbusClient(int port, int unit = 100) : ctx_(modbus_new_tcp("127.0.0.1", port)) {
        if (!ctx_ || modbus_connect(ctx_.get()) != 0)
            throw std::runtime_error("cannot connect to port " + std::to_string(port));
        modbus_set_response_timeout(ctx_.get(), 5, 0);
        Unit(unit);
    }
    void Unit(int unit) { modbus_set_slave(ctx_.get(), unit); }

    Reply Holding(int address, int count) { return read(address, count, modbus_read_registers); }
    Reply Input(int address, int count) {
        return read(address, count, modbus_read_input_registers);
    }
    int WriteOne(int address, std::uint16_t value) {
        return Code(modbus_write_register(ctx_.get(), address, value));
    }
    int WriteMany(int address, const std::vector<std::uint16_t>& values) {
        return Code(modbus_write_registers(ctx_.get(), address, int(values.size()), values.data()));
    }
    // Any request PDU (function code first); the exception code, 0 or -1.
    int Raw(const std::vector<std::uint8_t>& pdu, int unit = 100) {
        std::vector<std::uint8_t> request{std::uint8_t(unit)};
        request.insert(request.end(), pdu.begin(), pdu.end());
        if (modbus_send_raw_request(ctx_.get(), request.data(), int(request.size())) < 0)
            return -1;
        std::vector<std::uint8_t> answer(MODBUS_TCP_MAX_ADU_LENGTH);
        const int n = modbus_receive_confirmation(ctx_.get(), answer.data());
        if (n < 9)
            return -1;
        return (answer[7] & 0x80) != 0 ? answer[8] : 0;
    }

  private:
    struct Free {
        void operator()(modbus_t* ctx) const {
            modbus_close(ctx);
            modbus_free(ctx);
        }
    };
    static int Code(int result) {
        if (result >= 0)
            return 0;
        const int code = errno - MODBUS_ENOBASE;
        return code >= 1 && code <= 11 ? code : -1;
    }
    template <class Function>
    Reply read(int address, int count, Function function) {
        Reply r;
        r.values.resize(std::size_t(count > 0 ? count : 1));
        const int n = function(ctx_.get(), address, count, r.values.data());
        r.exception = Code(n);
        r.values.resize(n < 0 ? 0 : std::size_t(n));
        return r;
    }

    std::unique_ptr<modbus_t, Free> ctx_;
};

}  // namespace vadero::test
