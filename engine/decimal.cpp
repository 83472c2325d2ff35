#include "engine/decimal.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace orrindale {
namespace {

using u128 = unsigned __int128;

constexpr int kMaxExactPow = 27; // 5^27 < 2^63, so 10^27 is exact in a 64-bit mantissa

constexpr uint64_t Pow5(int n) {
    uint64_t r = 1;
    for (int i = 0; i < n; ++i)
        r *= 5;
    return r;
}

constexpr uint64_t Pow10u(int n) {
    uint64_t r = 1;
    for (int i = 0; i < n; ++i)
        r *= 10;
    return r;
}

long double Pow10Exact(int n) {
    static const auto table = [] {
        std::array<long double, kMaxExactPow + 1> t{};
        long double v = 1.0L;
        for (int i = 0; i <= kMaxExactPow; ++i) {
            t[static_cast<size_t>(i)] = v;
            v *= 10.0L;
        }
        return t;
    }();
    return table[static_cast<size_t>(n)];
}

// The x87 extended layout: 64-bit significand with explicit leading bit, 15-bit biased exponent.
bool SplitExtended(long double x, uint64_t& m, int& q) {
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &x, sizeof bytes);
    std::memcpy(&m, bytes, 8);
    int biased = (bytes[8] | (bytes[9] << 8)) & 0x7FFF;
    if (biased == 0 || biased == 0x7FFF || (m >> 63) == 0) return false; // subnormal or special
    q = biased - 16383 - 63;                                             // x = m * 2^q
    return true;
}

// floor(|x| * 10^s) and whether the discarded part is at least one half, exactly, for
// x = m * 2^q. Returns false when the numbers do not fit the 128-bit fast path.
bool ScaleExact(uint64_t m, int q, int s, uint64_t& floorPart, bool& roundUp) {
    if (s > kMaxExactPow || -s > kMaxExactPow) return false;
    if (s >= 0) {
        u128 v = static_cast<u128>(m) * Pow5(s);
        int t = q + s;
        if (t >= 0) {
            if (t > 60) return false;
            u128 n = v << t;
            if (n >> 64) return false;
            floorPart = static_cast<uint64_t>(n);
            roundUp = false;
            return true;
        }
        int r = -t;
        if (r >= 128) return false;
        u128 n = v >> r;
        if (n >> 64) return false;
        u128 rem = v - (n << r);
        floorPart = static_cast<uint64_t>(n);
        roundUp = rem >= (static_cast<u128>(1) << (r - 1));
        return true;
    }
    int u = -s;
    u128 den = Pow5(u);
    u128 num = m;
    int t = q - u;
    if (t >= 0) {
        if (t > 63) return false;
        num <<= t;
    } else {
        if (-t > 64) return false;
        den <<= -t;
    }
    u128 n = num / den;
    if (n >> 64) return false;
    u128 rem = num - n * den;
    floorPart = static_cast<uint64_t>(n);
    roundUp = 2 * rem >= den;
    return true;
}

// The slow path: glibc prints the exact expansion when asked for enough digits; the digit
// string is then rounded half away from zero.
DecimalNumber ToDecimalSlow(long double x, int digits) {
    int e2 = 0;
    frexpl(x, &e2);
    int q = e2 - 64; // the expansion has at most -q fraction digits
    int e10 = static_cast<int>(std::floor((e2 - 1) * 0.30102999566398119521));
    int precision = (q < 0 ? -q : 0) + (e10 > 0 ? e10 : 0) + 4;
    std::vector<char> buf(static_cast<size_t>(precision) + 32);
    std::snprintf(buf.data(), buf.size(), "%.*Le", precision, x);
    // buf: d.ddddd...e[+-]xx
    std::string text(buf.data());
    size_t ePos = text.find('e');
    int exponent = std::atoi(text.c_str() + ePos + 1);
    std::string ds;
    for (size_t i = 0; i < ePos; ++i)
        if (text[i] >= '0' && text[i] <= '9') ds.push_back(text[i]);
    uint64_t mant = 0;
    for (int i = 0; i < digits; ++i)
        mant = mant * 10 + static_cast<uint64_t>(ds[static_cast<size_t>(i)] - '0');
    if (ds[static_cast<size_t>(digits)] >= '5') ++mant;
    if (mant == Pow10u(digits)) {
        mant /= 10;
        ++exponent;
    }
    return {mant, exponent};
}

} // namespace

DecimalNumber ToDecimal(long double x, int digits) {
    if (x == 0.0L) return {};
    x = std::fabs(x);
    uint64_t m = 0;
    int q = 0;
    if (!SplitExtended(x, m, q)) return ToDecimalSlow(x, digits);
    const uint64_t low = Pow10u(digits - 1), high = Pow10u(digits);
    // x lies in [2^(q+63), 2^(q+64)): start from the lower decimal exponent and correct.
    int e10 = static_cast<int>(std::floor((q + 63) * 0.30102999566398119521));
    for (int attempt = 0; attempt < 3; ++attempt) {
        uint64_t n = 0;
        bool up = false;
        if (!ScaleExact(m, q, digits - 1 - e10, n, up)) return ToDecimalSlow(x, digits);
        if (n >= high) {
            ++e10;
            continue;
        }
        if (n < low) {
            --e10;
            continue;
        }
        if (up && ++n == high) {
            n = low;
            ++e10;
        }
        return {n, e10};
    }
    return ToDecimalSlow(x, digits);
}

long double FromDecimal(uint64_t mantissa, int power10) {
    if (mantissa == 0) return 0.0L;
    if (power10 >= 0 && power10 <= kMaxExactPow)
        return static_cast<long double>(mantissa) * Pow10Exact(power10);
    if (power10 < 0 && -power10 <= kMaxExactPow)
        return static_cast<long double>(mantissa) / Pow10Exact(-power10);
    char text[48];
    int len = std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(mantissa),
                            power10);
    long double value = 0.0L;
    std::from_chars(text, text + len, value);
    return value;
}

bool ParseLongDouble(const std::string& text, long double& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last;
}

} // namespace orrindale
