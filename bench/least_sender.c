/* The least an XMODEM-1K CRC sender can do, for scale only: the file read 64 KiB at a time,
 * one write per frame and one blocking read per answer, no timers, no retries beyond a NAK,
 * no abort. What it costs on a machine is the floor for any stop-and-wait sender there.
 * Usage: least_sender DEVICE FILE */
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

static uint16_t crc_table[256];

static void make_table(void) {
  for (unsigned i = 0; i < 256; i++) {
    uint16_t c = (uint16_t)(i << 8);
    for (int bit = 0; bit < 8; bit++) c = (c & 0x8000) ? (uint16_t)((c << 1) ^ 0x1021) : (uint16_t)(c << 1);
    crc_table[i] = c;
  }
}

static uint16_t crc16(const uint8_t *p, size_t n) {
  uint16_t c = 0;
  while (n--) c = (uint16_t)((c << 8) ^ crc_table[((c >> 8) ^ *p++) & 0xFF]);
  return c;
}

/* The last byte of what one read brings, or -1 when the line is gone. */
static int answer(int fd) {
  uint8_t bytes[64];
  ssize_t n = read(fd, bytes, sizeof bytes);
  return n > 0 ? bytes[n - 1] : -1;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: least_sender DEVICE FILE\n");
    return 2;
  }
  make_table();
  int line = open(argv[1], O_RDWR | O_NOCTTY);
  int in = open(argv[2], O_RDONLY);
  if (line < 0 || in < 0) {
    perror("least_sender");
    return 1;
  }
  struct termios raw;
  tcgetattr(line, &raw);
  cfmakeraw(&raw);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(line, TCSANOW, &raw);

  static uint8_t chunk[64 * 1024];
  size_t have = 0, at = 0;

  int c;
  while ((c = answer(line)) != 'C')
    if (c < 0) return 1;
  uint8_t frame[1029];
  unsigned block = 1;
  for (;; at += 1024, block++) {
    if (at >= have) {
      ssize_t n = read(in, chunk, sizeof chunk);
      if (n < 0) return 1;
      if (n == 0) break;
      have = (size_t)n;
      at = 0;
      memset(chunk + have, 0, (1024 - have % 1024) % 1024);
    }
    frame[0] = 0x02;
    frame[1] = (uint8_t)block;
    frame[2] = (uint8_t)~block;
    memcpy(frame + 3, chunk + at, 1024);
    uint16_t crc = crc16(frame + 3, 1024);
    frame[1027] = (uint8_t)(crc >> 8);
    frame[1028] = (uint8_t)crc;
    do {
      if (write(line, frame, sizeof frame) != (ssize_t)sizeof frame) return 1;
    } while ((c = answer(line)) == 0x15);
    if (c != 0x06) return 1;
  }
  const uint8_t eot = 0x04;
  do {
    if (write(line, &eot, 1) != 1) return 1;
  } while ((c = answer(line)) == 0x15);
  return c == 0x06 ? 0 : 1;
}
