#!/bin/sh
# PID 1 of the bench's virtual machine: mounts what a job needs, runs it with
# its output in the job folder, and powers off (also when the time is up).
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
hostname winbench
modprobe 9pnet_virtio
modprobe 9p
opts=trans=virtio,version=9p2000.L,msize=524288,cache=mmap
mount -t 9p -o "$opts" benchio /bench-io
mount -t 9p -o "$opts" host /mnt/host
limit=$(cat /bench-io/timeout)
(sleep "$limit"; echo "winbench: the job took longer than $limit s" >>/bench-io/out; sync; echo o >/proc/sysrq-trigger) &
bash /bench-io/job.sh >>/bench-io/out 2>&1
echo $? >/bench-io/rc
sync
umount /mnt/host /bench-io
echo o >/proc/sysrq-trigger
sleep 60
