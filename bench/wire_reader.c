/* Reads the virtual interface's FIFO as a receiving device would and prints
 * the spacing of the packets it sees: each FF F0 (start of packet; a data
 * byte FF is always sent as FF F7) is stamped with CLOCK_MONOTONIC when the
 * read that brought it returns.
 *   wire_reader FIFO SECONDS
 * The reader asks for SCHED_FIFO 90 and locks its memory, so that its own
 * scheduling adds as little as possible to what it measures; it says
 * whether it got them. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <sched.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#define NOMINAL_NS 50000000LL
#define MAX_STAMPS (1 << 20)

static int64_t now_ns(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (int64_t)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static int cmp64(const void* a, const void* b) {
    const int64_t x = *(const int64_t*)a, y = *(const int64_t*)b;
    return x < y ? -1 : x > y;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s FIFO SECONDS\n", argv[0]);
        return 2;
    }
    const double seconds = atof(argv[2]);
    struct sched_param sp = {.sched_priority = 90};
    const int rt = sched_setscheduler(0, SCHED_FIFO, &sp) == 0;
    const int locked = mlockall(MCL_CURRENT | MCL_FUTURE) == 0;

    static int64_t stamps[MAX_STAMPS];
    size_t n = 0;
    int fd = open(argv[1], O_RDONLY);
    if (fd < 0) {
        perror(argv[1]);
        return 1;
    }
    unsigned char buf[65536];
    int state = 0;
    int64_t start = -1;
    for (;;) {
        const ssize_t got = read(fd, buf, sizeof buf);
        const int64_t t = now_ns();
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break; /* the console closed its end */
        if (start < 0) start = t;
        /* state 0: data; 1: after an FF; 2: after FF F1, where the trailer's
         * lone FF follows */
        for (ssize_t i = 0; i < got; ++i) {
            const unsigned char b = buf[i];
            if (state == 1) {
                if (b == 0xF0 && n < MAX_STAMPS) stamps[n++] = t;
                state = b == 0xF1 ? 2 : (b == 0xFF ? 1 : 0);
            } else if (state == 2) {
                state = 0;
            } else if (b == 0xFF) {
                state = 1;
            }
        }
        if (t - start > (int64_t)(seconds * 1e9)) break;
    }
    close(fd);
    if (n < 2) {
        fprintf(stderr, "wire_reader: fewer than two packets seen\n");
        return 1;
    }

    const size_t m = n - 1;
    int64_t* iv = malloc(m * sizeof *iv);
    size_t off2 = 0, off03 = 0;
    for (size_t i = 0; i < m; ++i) {
        iv[i] = stamps[i + 1] - stamps[i];
        const int64_t off = llabs(iv[i] - NOMINAL_NS);
        off2 += off > 2000000;
        off03 += off > 300000;
    }
    qsort(iv, m, sizeof *iv, cmp64);
    const double minutes = (double)(stamps[n - 1] - stamps[0]) / 60e9;
    size_t p99 = (m * 99 + 99) / 100;
    if (p99 < 1) p99 = 1;
    printf("wire: %zu intervals over %.1f s (reader %s, memory %s)\n", m,
           (double)(stamps[n - 1] - stamps[0]) / 1e9, rt ? "SCHED_FIFO" : "normal priority",
           locked ? "locked" : "not locked");
    printf("  interval ms: min %.3f  p50 %.3f  p99 %.3f  max %.3f\n", iv[0] / 1e6,
           iv[m / 2] / 1e6, iv[p99 - 1] / 1e6, iv[m - 1] / 1e6);
    printf("  off nominal: %zu more than 2 ms (%.1f/min), %zu more than 0.3 ms (%.1f/min)\n", off2,
           off2 / minutes, off03, off03 / minutes);
    free(iv);
    return 0;
}
