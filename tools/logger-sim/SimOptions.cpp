#include "SimOptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace acv::sim {
namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool ParseLong(std::string_view text, long min, long max, long& value) {
  long parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return false;
  if (parsed < min || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseDouble(std::string_view text, double min, double max, double& value) {
  double parsed = 0;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, parsed);
  if (text.empty() || result.ec != std::errc() || result.ptr != end) return false;
  if (!(parsed >= min && parsed <= max)) return false;
  value = parsed;
  return true;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t from = 0;
  while (true) {
    const std::size_t at = text.find(separator, from);
    parts.push_back(
        text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

// "V", "A", "off", or a raw kind byte (to try codes the program must ignore).
bool ParseKind(std::string_view text, std::uint8_t& kind) {
  const std::string lower = Lower(text);
  if (lower == "v") {
    kind = kKindVoltage;
  } else if (lower == "a") {
    kind = kKindCurrent;
  } else if (lower == "off") {
    kind = kKindOff;
  } else {
    long raw = 0;
    if (!ParseLong(text, 0, 255, raw)) return false;
    kind = static_cast<std::uint8_t>(raw);
  }
  return true;
}

// "10s", "5min", "2h": the header's interval unit and value.
bool ParseInterval(std::string_view text, std::uint8_t& unit, std::uint8_t& value) {
  const std::size_t digits = text.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string_view::npos) return false;
  const std::string suffix = Lower(text.substr(digits));
  if (suffix == "s") {
    unit = kUnitSeconds;
  } else if (suffix == "min") {
    unit = kUnitMinutes;
  } else if (suffix == "h") {
    unit = kUnitHours;
  } else {
    return false;
  }
  long number = 0;
  if (!ParseLong(text.substr(0, digits), 1, 255, number)) return false;
  value = static_cast<std::uint8_t>(number);
  return true;
}

bool ParseStart(std::string_view text, CivilTime& time) {
  // YYYY-MM-DDTHH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' ||
      (text[10] != 'T' && text[10] != ' ') || text[13] != ':' || text[16] != ':') {
    return false;
  }
  long y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!ParseLong(text.substr(0, 4), 2000, 2099, y) || !ParseLong(text.substr(5, 2), 1, 12, mo) ||
      !ParseLong(text.substr(8, 2), 1, 31, d) || !ParseLong(text.substr(11, 2), 0, 23, h) ||
      !ParseLong(text.substr(14, 2), 0, 59, mi) || !ParseLong(text.substr(17, 2), 0, 59, s)) {
    return false;
  }
  const CivilTime parsed{static_cast<int>(y), static_cast<int>(mo), static_cast<int>(d),
                         static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s)};
  // Rejects 31 April and 29 February of a common year: they would not round-trip.
  if (AddSeconds(parsed, 0) != parsed) return false;
  time = parsed;
  return true;
}

// "V:1000:50", "A:500:60" or "off".
bool ParseWave(std::string_view text, WaveSpec& wave) {
  if (Lower(text) == "off") {
    wave.kind = kKindOff;
    return true;
  }
  const std::vector<std::string_view> parts = Split(text, ':');
  if (parts.size() != 3) return false;
  const std::string unit = Lower(parts[0]);
  if (unit != "v" && unit != "a") return false;
  long peak = 0;
  double hz = 0;
  if (!ParseLong(parts[1], 0, 32767, peak) || !ParseDouble(parts[2], 0.0, 9000.0, hz)) return false;
  wave = WaveSpec{unit == "v" ? kKindVoltage : kKindCurrent, static_cast<int>(peak), hz, 0.0, {}};
  return true;
}

bool ApplyImageKey(std::string_view key, std::string_view value, ImageSpec& spec,
                   std::string& error) {
  long number = 0;
  bool ok = true;
  if (key == "channels") {
    ok = ParseLong(value, 1, 2, number);
    if (ok) spec.channels = static_cast<int>(number);
  } else if (key == "samples") {
    if (value == "fill") {
      spec.fillMemory = true;
    } else {
      ok = ParseLong(value, 0, static_cast<long>(kMemoryBytes / 2), number);
      if (ok) {
        spec.rmsItems = number;
        spec.fillMemory = false;
      }
    }
  } else if (key == "tr") {
    ok = ParseLong(value, 0, static_cast<long>(kBlockCount), number);
    if (ok) spec.trRecords = static_cast<int>(number);
  } else if (key == "wrap") {
    ok = ParseLong(value, 0, 8000000, number);
    if (ok) spec.wrapItems = number;
  } else if (key == "offset") {
    ok = ParseLong(value, 0, static_cast<long>(kBlockCount) - 1, number);
    if (ok) spec.startBlock = static_cast<int>(number);
  } else if (key == "interval") {
    ok = ParseInterval(value, spec.intervalUnit, spec.intervalValue);
  } else if (key == "start") {
    ok = ParseStart(value, spec.start);
  } else if (key == "ch1") {
    ok = ParseKind(value, spec.ch1Kind);
  } else if (key == "ch2") {
    ok = ParseKind(value, spec.ch2Kind);
  } else if (key == "rise" || key == "drop") {
    ok = ParseLong(value, -32768, 32767, number);
    if (ok) (key == "rise" ? spec.riseLevel : spec.dropLevel) = static_cast<std::int16_t>(number);
  } else if (key == "dips" || key == "swells" || key == "interruptions") {
    ok = ParseLong(value, 0, 10000, number);
    if (ok) {
      (key == "dips"     ? spec.dips
       : key == "swells" ? spec.swells
                         : spec.interruptions) = static_cast<int>(number);
    }
  } else if (key == "every") {
    ok = ParseLong(value, 4, 10000000, number);
    if (ok) spec.every = number;
  } else if (key == "counta" || key == "countb") {
    ok = ParseLong(value, 0, 0xFFFFFF, number);
    if (ok) (key == "counta" ? spec.countA : spec.countB) = static_cast<std::uint32_t>(number);
  } else {
    error = "unknown key '" + std::string(key) +
            "' (known: channels, samples, tr, wrap, offset, interval, start, ch1, ch2, rise, "
            "drop, dips, swells, interruptions, every, counta, countb)";
    return false;
  }
  if (!ok) error = "bad value '" + std::string(value) + "' for " + std::string(key);
  return ok;
}

// The preset of --full: two channels with TR records filling the whole
// memory, wrapped a day's worth of one-second items ago.
ImageSpec FullMemoryPreset() {
  ImageSpec spec;
  spec.channels = 2;
  spec.fillMemory = true;
  spec.trRecords = 16;
  spec.wrapItems = 86400;
  spec.startBlock = 700;
  return spec;
}

}  // namespace

bool ParseImageSpec(const std::string& text, ImageSpec& spec, std::string& error) {
  if (text.empty()) return true;
  bool ch2Given = false;
  for (std::string_view item : Split(text, ',')) {
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos) {
      error = "expected key=value, got '" + std::string(item) + "'";
      return false;
    }
    const std::string key = Lower(item.substr(0, eq));
    if (!ApplyImageKey(key, item.substr(eq + 1), spec, error)) return false;
    ch2Given = ch2Given || key == "ch2";
  }
  // "channels=1" alone means channel 1 only; channel 2 stays on only if asked for.
  if (spec.channels == 1 && !ch2Given && spec.ch1Kind != kKindOff) spec.ch2Kind = kKindOff;
  return true;
}

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error) {
  std::vector<std::string> syntheticTexts;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool inlineValue = false;
    if (const std::size_t eq = name.find('=');
        name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      inlineValue = true;
    }
    auto takeValue = [&]() -> bool {
      if (inlineValue) return true;
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    auto count = [&](long min, long max, long& target) -> bool {
      if (!takeValue()) return false;
      if (ParseLong(value, min, max, target)) return true;
      error = "bad value '" + value + "' for " + name + " (" + std::to_string(min) + ".." +
              std::to_string(max) + ")";
      return false;
    };
    auto flag = [&](bool& target) -> bool {
      if (inlineValue) {
        error = name + " takes no value";
        return false;
      }
      target = true;
      return true;
    };

    bool ok = true;
    long number = 0;
    if (name == "--help" || name == "-h") {
      ok = flag(options.help);
    } else if (name == "--version") {
      ok = flag(options.version);
    } else if (name == "--verbose" || name == "-v") {
      ok = flag(options.verbose);
    } else if (name == "--ack") {
      ok = takeValue();
      if (ok) {
        const std::string ack = Lower(value);
        ok = ack == "ee" || ack == "1e";
        if (ok) {
          options.ack = ack == "ee" ? kAckDone : kAckPressStart;
        } else {
          error = "--ack takes ee or 1e, not '" + value + "'";
        }
      }
    } else if (name == "--trace") {
      ok = takeValue();
      options.tracePath = value;
    } else if (name == "--silent") {
      ok = flag(options.silent);
    } else if (name == "--vanish-after-blocks") {
      ok = count(1, 1000000, options.vanishAfterBlocks);
    } else if (name == "--refuse-logging") {
      ok = flag(options.refuseLogging);
    } else if (name == "--empty") {
      ok = flag(options.emptyHeader);
    } else if (name == "--zero-bytes") {
      ok = flag(options.zeroBytes);
    } else if (name == "--no-channel") {
      ok = flag(options.noChannel);
    } else if (name == "--channel-change-after") {
      ok = count(1, 1000000, options.channelChangeAfter);
    } else if (name == "--pace") {
      bool pace = false;
      ok = flag(pace);
      options.baud = 115200;
    } else if (name == "--baud") {
      ok = count(300, 115200, options.baud);
    } else if (name == "--drop-reply") {
      ok = count(1, 1000000, options.dropReply);
    } else if (name == "--truncate-reply") {
      ok = count(1, 1000000, options.truncateReply);
    } else if (name == "--cut-header") {
      ok = count(1, 1000, options.cutHeaderBytes);
    } else if (name == "--cut-rt-block") {
      ok = takeValue();
      const std::vector<std::string_view> parts = Split(value, ':');
      ok = ok && parts.size() == 2 && ParseLong(parts[0], 1, 1000000, options.cutRtBlock) &&
           ParseLong(parts[1], 1, 100000, options.cutRtBytes);
      if (!ok && error.empty()) error = "--cut-rt-block takes K:N, not '" + value + "'";
    } else if (name == "--rt-ch1" || name == "--rt-ch2") {
      ok = takeValue();
      WaveSpec& wave = name == "--rt-ch1" ? options.rtCh1 : options.rtCh2;
      if (ok && !ParseWave(value, wave)) {
        ok = false;
        error = "bad value '" + value + "' for " + name + " (expected V:PEAK:HZ, A:PEAK:HZ or off)";
      }
    } else if (name == "--rt-stream") {
      ok = count(10, 60000, number);
      options.rtStreamMs = static_cast<int>(number);
    } else if (name == "--synthetic") {
      ok = takeValue();
      syntheticTexts.push_back(value);
    } else if (name == "--full") {
      ok = flag(options.full);
    } else if (name == "--image") {
      ok = takeValue();
      options.imagePath = value;
    } else if (name == "--dump-image") {
      ok = takeValue();
      options.dumpPath = value;
    } else {
      ok = false;
      error = "unknown option '" + args[i] + "'";
    }
    if (!ok) return false;
  }

  if (options.help || options.version) return true;
  if (options.full && !options.imagePath.empty()) {
    error = "--full and --image exclude each other";
    return false;
  }
  if (options.emptyHeader && options.zeroBytes) {
    error = "--empty and --zero-bytes exclude each other";
    return false;
  }
  if (options.full) options.image = FullMemoryPreset();
  for (const std::string& text : syntheticTexts) {
    if (!ParseImageSpec(text, options.image, error)) {
      error = "--synthetic: " + error;
      return false;
    }
  }
  if (options.full && !options.image.fillMemory) {
    error = "--full fills the memory: leave samples= out";
    return false;
  }
  // A streamed block must be on the line completely before the next starts.
  if (options.baud > 0 && options.rtStreamMs > 0) {
    const long blockMs = static_cast<long>(kRealTimeBlockBytes) * 10 * 1000 / options.baud + 1;
    if (options.rtStreamMs <= blockMs) {
      error = "--rt-stream with a paced line needs more than " + std::to_string(blockMs) +
              " ms between blocks (one block takes that long at " + std::to_string(options.baud) +
              " baud)";
      return false;
    }
  }
  return true;
}

std::string HelpText() {
  return R"(Usage: acvlogger-sim [OPTIONS]

A simulated two-channel AC voltage/current data logger on a pseudo-terminal.
The first line of output is the terminal's device path (for example
/dev/pts/7); open it as the logger's serial port. The simulator answers until
it gets SIGTERM or SIGINT, or the process that started it ends.

Answers:
  --ack ee|1e             answer to set-up and clock commands (default ee)
  --silent                answer nothing at all
  --pace                  send replies at the pace of 115200 baud (10 bits a byte)
  --baud N                send replies at the pace of N baud (300..115200): a
                          logger behind a slower link; a 512-byte block takes
                          1.07 s at 4800 baud, longer than the program's
                          900 ms re-request
  --trace FILE            append one line per command received, in hex
                          (e.g. "AA 10 10 0A 01 F4 00 64", the probe as "78")
  --verbose, -v           one line per event on standard output
  --help, -h              print this text
  --version               print the version

Real time (one 2365-byte block per 0xC8 request unless --rt-stream):
  --rt-ch1 V:PEAK:HZ      channel 1 as a pure sine: unit V or A, peak in raw
                          counts, frequency in Hz, or "off" (default: mains,
                          about 230 V RMS at 50 Hz with a little 3rd harmonic)
  --rt-ch2 A:PEAK:HZ|off  channel 2 (default: about 60 A RMS at 50 Hz lagging
                          25 degrees, with 3rd and 5th harmonics)
  --rt-stream MS          after a start request send a block every MS ms until
                          the stop frame (10..60000)
  --no-channel            blocks say "no channel connected" (flag byte 0)
  --channel-change-after K  channel 2 turns off after K blocks

Stored data (the download):
  --synthetic SPEC        build the memory from comma-separated key=value pairs:
      channels=1|2          recorded channels n (default 2; with 1, channel 2
                            is off unless ch2= says otherwise)
      samples=N|fill        RMS items stored (default 1000); fill: all the memory
      tr=K                  TR records spread over the items (default 3)
      interval=10s|5min|2h  RMS interval (default 1s; value 1..255)
      start=YYYY-MM-DDTHH:MM:SS  when logging started (default 2026-03-01T10:00:00)
      ch1=V|A|off|CODE      channel 1 kind (default V); ch2 likewise (default A)
      rise=N, drop=N        detection levels in the header (default 500, 100)
      wrap=W                RMS items overwritten before the oldest stored one
                            (default 0: the memory has not wrapped)
      offset=B              block of the oldest stored byte (default 0, or 700
                            when wrap > 0)
      dips=D, swells=S, interruptions=I
                            excursions of the voltage channels, spread evenly
                            over the items (default 0): dips to about 180 V,
                            swells to about 265 V, interruptions to 0 (LO);
                            each lasts 1/4 of the items between two of them,
                            at most 30 items
      every=P               the excursions come back every P items counted
                            from the start of logging (the kinds in turn, as
                            many of each as dips/swells/interruptions say), so
                            overlapping downloads (wrap=) agree on every value
      counta=N, countb=N    force the raw header counts (24-bit)
    e.g. --synthetic channels=2,samples=1000,tr=3,interval=1s,ch1=V,ch2=A
  --full                  the whole 512 KiB: two channels, 16 TR records,
                          wrap=86400, offset=700 (--synthetic keys may
                          change these, except samples)
  --image FILE            serve FILE as the stored bytes, in the order the
                          program receives them (what --dump-image writes); the
                          header comes from the --synthetic keys
  --dump-image FILE       write the stored bytes as they will be served
  --empty                 the header says nothing is stored (n = 0)
  --zero-bytes            the header has channels but 0 stored bytes
  --refuse-logging        answer a download start with 0xEA (logging now)

Faults:
  --drop-reply N          leave the N-th block request unanswered (once)
  --truncate-reply N      answer the N-th block request with half its bytes
  --cut-header N          send only the first N bytes of the first download
                          header (more than 28: pad it with N - 28 extra bytes)
  --cut-rt-block K:N      send only the first N bytes of the K-th real-time
                          block (more than 2365: pad it with extra bytes)
  --vanish-after-blocks K after K block replies (download or real time) close
                          the terminal for good and exit

Memory image: RMS items of n x 2 bytes (signed 16-bit big-endian tenths of a
volt or ampere: about 230 V and 5 A, slowly varying) with 512-byte TR records
between them (7F FF, unit 250 V / 252 A, channel 241 / 242, six BCD time
bytes, 251 big-endian samples). The bytes sit in a ring of 1024 blocks from
block `offset` on; block requests are served modulo 1024.

Header counts: count A = n x (S - T) and count B = n x W, where S is the
number of RMS items stored, T = ((stored bytes mod 512) / 2) / n and W is
`wrap`. A program that moves the start time forward by
  ((stored bytes mod 512) / 2 / n - S + A / n + B / n) x interval
therefore moves it by W intervals: to the time of the oldest stored item.
TR records carry the time of the RMS item before them.
)";
}

}  // namespace acv::sim
