// The parts of the manifest download that need no network: the size of each
// read and the path that goes on the wire.
#pragma once

#include <cstddef>
#include <string_view>

// Bytes asked for by each read, from the response's Content-Length text
// (empty when the header is missing): the declared length plus one, so that
// a small body arrives in one read; 10240 when nothing usable is declared;
// never more than 102400.
std::size_t ChooseReadChunkSize(std::string_view contentLength);

// The path without its "#fragment", which is never meant for the server.
std::string_view CutFragment(std::string_view path);
