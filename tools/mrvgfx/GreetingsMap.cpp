#include "tools/mrvgfx/GreetingsMap.h"

#include "mrvutils/BitmapFont.h"

#include <cstdint>
#include <stdexcept>

std::string GreetingsMap::text()
{
    // The groups are invented for this production.
    return "KELVARN SENDS NEON GREETINGS TO   PIXEL PILGRIMS * VELVET VECTORS * CHROME HARBOR * "
           "TAPE LOOP SYNDICATE * VAPOR MONKS * MAGENTA MOTEL * LASERDISC LIBERATION FRONT * "
           "CASSETTE COWBOYS * POLYGON PARISH * SCANLINE SISTERS * FLOPPY FLAMINGOS * OCTAL ORCHARD   "
           "SEE YOU ON THE NEON HIGHWAY!";
}

std::vector<unsigned char> GreetingsMap::bytes()
{
    const std::vector<uint8_t> columns = BitmapFont::columns(text());
    if (static_cast<int>(columns.size()) > LOOP - WINDOW)
        throw std::logic_error("greetings text longer than the scroll loop");
    std::vector<uint8_t> strip(ROW_PIXELS, 0);
    for (size_t c = 0; c < columns.size(); ++c)
        strip[static_cast<size_t>(TEXT_START) + c] = columns[c];
    for (int c = LOOP; c < ROW_PIXELS; ++c)
        strip[static_cast<size_t>(c)] = strip[static_cast<size_t>(c - LOOP)];

    std::vector<unsigned char> out;
    out.reserve(BYTES);
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < ROW_PIXELS; ++c)
        {
            const bool lit = (strip[static_cast<size_t>(c)] >> r) & 1u;
            for (int k = 0; k < 3; ++k)
                out.push_back(lit ? LIT : UNLIT);
        }
    return out;
}
