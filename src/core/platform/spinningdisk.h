#pragma once

#include <string>
#include <sys/types.h>

namespace twinsift {

// Whether the files of device sit on a spinning disk, where reads in
// parallel make the heads seek back and forth, so the scan reads its files
// one at a time in walk order. A partition answers for its disk, and a
// mapped or RAID device spins when any disk below it does.
//
// A virtual disk is never taken to spin: virtio and Xen disks, and the
// emulated disks of QEMU, VMware, Hyper-V and VirtualBox, claim to rotate
// whatever backs them (usually flash or a host's page cache), and reading
// them one file at a time costs a cold scan about three times its time.
// Devices without a block device (tmpfs, network and FUSE filesystems, and
// anything that cannot be looked up) do not spin.
//
// sysRoot stands in for /sys in tests.
bool isSpinningDisk(dev_t device, const std::string &sysRoot = "/sys");

} // namespace twinsift
