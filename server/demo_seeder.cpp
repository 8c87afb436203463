#include "server/demo_seeder.h"

#include <string>
#include <vector>

#include "server/password_hasher.h"
#include "server/service_time.h"

namespace plumwit::server {
namespace {

constexpr const char* kSeededFlag = "demo_seeded";

struct DemoAccount {
  const char* screen_name;
  const char* name;
  const char* location;
  const char* description;
  const char* url;
};

// Index 0 is the demo account; 1 to 3 are the accounts it follows; 4 is an
// account it does not follow, whose statuses must stay out of its timeline.
const DemoAccount kAccounts[] = {
    {"demo", "Demo Account", "Right here", "The account to try Plumwit with.", ""},
    {"margit", "Margit Ölund", "Göteborg", "Sailing, coffee & code. Fika enthusiast.",
     "http://example.org/margit"},
    {"tomasz", "Tomasz Wójcik", "Kraków", "Reads books, writes \"tests\", fixes <bugs>.", ""},
    {"amara", "Amara Nwosu", "Lagos", "Radio, rain and refactoring.", "https://example.net/amara"},
    {"quiet_one", "Quiet One", "", "Nobody follows me, and that is fine.", ""},
};

struct DemoStatus {
  int author;
  const char* text;
  int reply_to = -1;  // index of the status this one answers
};

// Oldest first.
const DemoStatus kStatuses[] = {
    {0, "Hello from the local Plumwit service! Sign in as demo / demo and say something."},
    {1, "Fika time: kaffe & kanelbullar ☕ at the harbour café."},
    {2, "Reading \"The Pragmatic Programmer\" again — still good."},
    {3, "New blog post: http://example.org/amara/2008/08/notes-on-caching"},
    {4, "Nobody reads this one in the demo timeline."},
    {1, "Is 3 < 5? Only on Mondays."},
    {2, "Zażółć gęślą jaźń — the Polish pangram every font must survive."},
    {3, "Rain in Lagos today. Traffic & more traffic."},
    {0, "Try the links: https://www.example.com/path?query=1&lang=en#top"},
    {1, "Smörgåsbord of bugs today. Ångström units in a test fixture, of course."},
    {2, "'Single quotes' and \"double quotes\" both survive the trip."},
    {3, "Emoji check 🙂 — a character outside the Basic Multilingual Plane."},
    {1, "Calçado novo! Brazilian colleagues taught me ç, ã and õ."},
    {2, "x < y && y > z: the boolean quiz of the day."},
    {3, "Listening to http://radio.example.net/live while coding."},
    {0, "Posting from Plumwit works: type, press \"tweet this\", done."},
    {1, "日本語のテキストも大丈夫です。"},
    {2, "Ελληνικά: καλημέρα κόσμε"},
    {3, "Half-way through the week & still smiling."},
    {1,
     "Exactly one hundred and forty characters, counted as code points: café, naïve, Ærø, "
     "Łódź and Ñandú all count once each. It fits the box: yes"},
    {2, "Percent signs: 100% done, and %20 is not a space here."},
    {3, "Question: does a + b = c? In a query a plus may mean a space."},
    {4, "Still nobody reading? Good."},
    {1, "Arabic: مرحبا بالعالم"},
    {2, "Hash #tags and @mentions are plain text here, @demo.", 15},
    {3, "Cyrillic: Привет, мир!"},
    {1, "Weekend plan: hike, sauna, repeat."},
    {2, "Deploying on a Friday? <b>No</b>."},
    {3, "Semicolons; commas, colons: all fine."},
    {0, "Timeline check: http://127.0.0.1:8080/demo shows my page."},
    {1, "@demo the page works for me too. Good night from Göteborg ✨", 29},
    {2, "Tabs\tand multiple   spaces stay as they were typed."},
    {3, "The end of the demo timeline. Post something!"},
};

// Statuses (by index) the demo account has marked as favourites.
constexpr int kDemoFavorites[] = {1, 12};

constexpr std::int64_t kStatusSpacing = 5 * 3600 + 17 * 60;

// Matches no password: crypt(3) refuses it as a setting.
constexpr const char* kNoPassword = "!";

}  // namespace

bool DemoSeeder::SeedOnce() {
  if (store_.HasFlag(kSeededFlag)) return false;
  store_.RunInTransaction([this] {
    if (store_.HasFlag(kSeededFlag)) return;
    Seed();
    store_.SetFlag(kSeededFlag);
  });
  return true;
}

void DemoSeeder::Seed() {
  const std::int64_t now = NowSeconds();
  const std::int64_t start = now - kStatusSpacing * static_cast<std::int64_t>(std::size(kStatuses));
  std::vector<std::int64_t> ids;
  for (const DemoAccount& demo : kAccounts) {
    NewAccount account;
    account.screen_name = demo.screen_name;
    account.name = demo.name;
    account.location = demo.location;
    account.description = demo.description;
    account.url = demo.url;
    // Only the demo account can sign in; the others have no password until
    // the passwd command gives them one.
    const bool is_demo = ids.empty();
    account.password_hash = is_demo ? PasswordHasher::Hash(kDemoPassword) : kNoPassword;
    account.created_at = start - 86400 * 30;
    std::optional<std::int64_t> id = store_.CreateAccount(account);
    if (!id) {
      // The name is in use already (made before --demo): use that account.
      id = store_.FindAccount(std::string_view(demo.screen_name))->id;
    }
    ids.push_back(*id);
  }
  for (int followed = 1; followed <= 3; ++followed) store_.Follow(ids[0], ids[followed]);
  store_.Follow(ids[1], ids[0]);
  store_.Follow(ids[2], ids[0]);

  std::int64_t when = start;
  std::vector<std::int64_t> status_ids;
  for (const DemoStatus& demo : kStatuses) {
    NewStatus status;
    status.account_id = ids[static_cast<std::size_t>(demo.author)];
    status.text = demo.text;
    status.source = "web";
    status.created_at = when;
    if (demo.reply_to >= 0) status.in_reply_to_status_id = status_ids.at(demo.reply_to);
    status_ids.push_back(store_.PostStatus(status).status.id);
    when += kStatusSpacing;
  }
  for (const int favorite : kDemoFavorites) {
    store_.AddFavorite(ids[0], status_ids.at(favorite), when);
  }
}

}  // namespace plumwit::server
