// Arbitrary request files read with arbitrary block lists: no block is
// filled past its length, and the file is always consumed.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <vector>

#include "exchange/exchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // First byte: how many blocks (0-4); then two bytes per block length,
    // signed, so negative lengths come up too; the rest is the file.
    int count = data[0] % 5;
    size_t used = 1;
    std::vector<std::vector<char>> buffers;
    std::vector<ExchangeBlock> blocks;
    for (int i = 0; i < count && used + 2 <= size; ++i, used += 2) {
        int length = (int16_t)(data[used] | data[used + 1] << 8) % 700;
        buffers.emplace_back(length > 0 ? length : 1);
        blocks.push_back(ExchangeBlock{ buffers.back().data(), length });
    }
    static char path[64];
    if (!path[0])
        snprintf(path, sizeof path, "/tmp/filepick-fuzz-read-%d", (int)getpid());
    FILE* file = fopen(path, "wb");
    if (!file)
        abort();
    fwrite(data + used, 1, size - used, file);
    fclose(file);
    int result = ReadExchange(path, (int)blocks.size(), blocks.data());
    if (access(path, F_OK) == 0)
        abort();  // a request that was opened must be gone
    // Success means every block had its bytes in the file, in order.
    size_t offset = used;
    for (size_t i = 0; result && i < blocks.size(); ++i) {
        size_t length = (size_t)blocks[i].length;
        if (memcmp(blocks[i].address, data + offset, length) != 0)
            abort();
        offset += length;
    }
    if (result && offset > size)
        abort();
    return 0;
}
