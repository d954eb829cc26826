#pragma once
// The TA's command side as the simulator plays it: command lines in, reply bytes out.
// Result-code modes (echo E, quiet Q, verbose V) live here and survive between client
// connections for as long as the simulator runs, as they do in a real TA.
//
// Commands are matched by the longest prefix after "AT" (case-insensitive) against the
// built-in rows and the rows other parts of the simulator register (settings, status).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace m2::sim {

enum class Final { Ok, Error, NoCarrier, None };

struct Reply {
  std::string text;  // information text, already framed with its CR LFs
  Final final = Final::Ok;
};

struct Identity {
  std::string model = "M-2KLX";
  std::string maker = "ORVANTE M-2KLX QRB Corporation";
  std::string version = "M-2KLX Ver 1.20 1999/04/01";
};

class TaModel;
using CommandHandler = std::function<Reply(TaModel&, std::string_view args)>;

struct CommandRow {
  std::string prefix;  // upper case, without "AT"
  CommandHandler handler;
};

class TaModel {
 public:
  TaModel();

  // One command line as received, without its CR. Returns every byte the TA sends back:
  // the echo, the text and the final result code in the current modes.
  std::string handleLine(std::string_view line);

  void addCommand(std::string prefix, CommandHandler handler);

  // Frames an information line the way the current mode does ("\r\ntext\r\n" verbal).
  std::string infoLine(std::string_view text) const;

  bool echo = true;
  bool quiet = false;
  bool verbose = true;
  Identity identity;
  std::size_t longReplySize = 1100;  // ATI9 answers with this many text bytes
  std::vector<std::string> commandLog;
  std::function<void(std::string_view)> onCommand;  // called for every command line

 private:
  Reply dispatch(std::string_view body);
  std::string finalCode(Final f) const;

  std::vector<CommandRow> m_rows;
};

}  // namespace m2::sim
